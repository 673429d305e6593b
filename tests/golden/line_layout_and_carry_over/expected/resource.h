#define Divider                                  600
#define Underline                                601
#define Rule2                                    602
#define Rule3                                    603
