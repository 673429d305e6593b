#define Items                                    300
