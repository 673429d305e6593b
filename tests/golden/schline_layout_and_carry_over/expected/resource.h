#define Slot                                     700
#define Slot2                                    701
