#define NoMENULine                               7
