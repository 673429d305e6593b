#define NoFIELDLine                              7
