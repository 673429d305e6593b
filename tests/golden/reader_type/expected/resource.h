#define Types                                    1
