#define NoTables                                 60
#define Partial                                  61
#define Grown                                    62
#define Continued                                63
#define Resumed                                  64
