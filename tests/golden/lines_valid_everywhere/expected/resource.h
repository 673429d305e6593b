#define Second                                   7
