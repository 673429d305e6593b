#define NoTEXTBOXLine                            7
