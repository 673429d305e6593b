#define Plain                                    1
#define Linked                                   2
#define Follows                                  3
#define Again                                    4
