#define Waited                                   1
#define NextLine                                 2
#define Blanks                                   3
