#define Pic                                      410
#define Pic2                                     411
