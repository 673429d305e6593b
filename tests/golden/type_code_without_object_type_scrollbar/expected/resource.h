#define NoSCROLLBARLine                          7
