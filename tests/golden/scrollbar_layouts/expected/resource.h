#define Bar1                                     800
#define Bar2                                     801
#define Bar3                                     802
#define Bar4                                     803
#define Bar5                                     804
