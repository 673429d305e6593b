#define NoSTRINGLine                             7
