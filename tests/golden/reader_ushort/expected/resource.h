#define Numbers                                  0
