#define Good                                     1
