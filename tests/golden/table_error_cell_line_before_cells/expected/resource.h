#define T                                        400
