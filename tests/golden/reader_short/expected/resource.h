#define Bounds                                   1
#define Bitmap                                   2
