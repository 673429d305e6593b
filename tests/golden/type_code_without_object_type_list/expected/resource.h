#define NoLISTLine                               7
