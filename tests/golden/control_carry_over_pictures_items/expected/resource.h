#define RepeatA                                  20
#define RepeatB                                  21
#define PopA                                     22
#define PopB                                     23
#define PopC                                     24
#define CheckA                                   25
#define CheckB                                   26
#define CheckC                                   27
