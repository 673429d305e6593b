#define OkButton                                 1001
