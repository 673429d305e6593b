#define C                                        1
