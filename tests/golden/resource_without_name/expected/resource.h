#define A                                        1
