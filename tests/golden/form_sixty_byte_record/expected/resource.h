#define MainForm                                 1000
