#define Greeting                                 800
#define Blank                                    801
#define NoText                                   802
