#define Choice                                   2001
#define Scroll                                   2002
#define Check                                    2003
#define Pick                                     2004
