#define NoBITMAPLine                             7
