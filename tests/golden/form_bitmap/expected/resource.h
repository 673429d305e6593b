#define Four                                     1
#define Two                                      2
#define TwoPad                                   3
#define NoFile                                   4
#define Cleared                                  5
#define Early                                    6
#define OnePad                                   7
#define Kept                                     8
