#define M1                                       1
