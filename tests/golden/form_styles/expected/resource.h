#define Background                               1
#define Normal                                   2
#define BitmapDialog                             3
#define NonBitmapDialog                          4
