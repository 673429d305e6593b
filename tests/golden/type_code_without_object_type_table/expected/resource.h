#define NoTABLELine                              7
