#define Bitmap                                   1
