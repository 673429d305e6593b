#define FileMenu                                 500
#define EditMenu                                 501
#define ViewMenu                                 502
#define EmptyMenu                                503
