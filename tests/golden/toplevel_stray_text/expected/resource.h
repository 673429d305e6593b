#define F                                        2
#define G                                        3
