#define EditField                                1001
