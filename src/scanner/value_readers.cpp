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
    if (slot->has_value()) {
        (*slot)->assign(text, len);  // reuses the slot's storage
    } else {
        slot->emplace(text, len);
    }
}
