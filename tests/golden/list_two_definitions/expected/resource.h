#define Fruit                                    40
#define Veg                                      41
