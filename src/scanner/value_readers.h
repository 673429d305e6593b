// Value targets of the value readers: each reader stores the one value it
// reads through its own target, set by the keyword rule right before the push.
#pragma once

#include <cstdint>

#include "format/values.h"

namespace orrinrc {

struct ValueTargets {
    uint8_t* read_byte = nullptr;
    uint16_t* read_short = nullptr;
    uint16_t* read_ushort = nullptr;
    int32_t* read_word = nullptr;
    uint16_t* readboolean = nullptr;
    Text* readstring = nullptr;
    uint8_t* readtype = nullptr;
    uint8_t* readcolor = nullptr;
    uint8_t* readfont = nullptr;
    uint8_t* readalignment = nullptr;
    Bounds* readbounds = nullptr;
    BitmapRecord* readbitmap = nullptr;
};

// Decimal value of a number line: optional sign, digits; anything after the
// digits ends it. Saturates at the 32-bit limits.
int32_t number_value(const char* text);

// Stores text[0..len) as a new string in a string slot.
void store_text(Text* slot, const char* text, size_t len);

}  // namespace orrinrc
