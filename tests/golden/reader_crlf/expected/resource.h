#define Crlf                                     5
