#define Logo                                     700
#define Logo2                                    701
#define Logo3                                    702
