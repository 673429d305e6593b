// Value targets and the conversions shared by the value readers.
#include "scanner/value_readers.h"

#include <cstdlib>

ValueTargets targets;
int bitmapnum = 0;
Text pending_bitmap_file;
uint16_t related_table_id = 0;

int32_t number_value(const char* text) {
    long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void store_text(Text* slot, const char* text, size_t len) {
    // A slot reuses its storage for the next value, unless that storage is
    // far larger than the value: one huge text must not keep its memory for
    // the rest of the run.
    if (slot->has_value() && (*slot)->capacity() <= 2 * len + 256) {
        (*slot)->assign(text, len);
    } else {
        slot->emplace(text, len);
    }
}
