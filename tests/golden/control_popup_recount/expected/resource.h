#define Recount                                  40
#define Renew                                    41
