#define Suffixed                                 50
