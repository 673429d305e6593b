#define Spelled                                  31
#define Subtypes                                 32
#define Box                                      33
#define Crlf                                     34
