#define Tbl                                      400
#define Grid                                     401
#define Grown                                    402
