#define NoLINELine                               7
