#define Bounds                                   1
