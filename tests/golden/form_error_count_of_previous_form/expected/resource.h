#define First                                    1
