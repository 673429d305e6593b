#define A                                        20
#define B                                        21
#define C                                        22
#define D                                        23
#define E                                        24
