#define First                                    10
#define Second                                   11
#define Third                                    12
#define Fourth                                   13
