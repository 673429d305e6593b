#define NoCONTROLLine                            7
