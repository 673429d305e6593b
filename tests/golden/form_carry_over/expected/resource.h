#define First                                    10
#define Second                                   20
#define Third                                    30
#define Fourth                                   40
