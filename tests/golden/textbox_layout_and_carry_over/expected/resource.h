#define Notes                                    900
#define Memo                                     901
#define Memo2                                    902
