#define NoSCHLINELine                            7
