#define S                                        7
#define Na                                       8
