#define Blanks                                   1
#define Empty                                    2
#define Quote                                    3
#define Keyword                                  4
#define Carriage                                 5
