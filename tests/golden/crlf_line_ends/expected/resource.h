#define Main                                     1000
