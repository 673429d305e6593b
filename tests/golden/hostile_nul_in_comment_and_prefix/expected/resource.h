#define S                                        7
