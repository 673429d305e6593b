// Value targets and the conversions shared by the value readers.
#include "scanner/value_readers.h"

#include <cstdlib>

namespace orrinrc {

int32_t number_value(const char* text) {
    // Reads like strtoll in base 10 (leading white space, an optional sign,
    // the digits up to the first other character), by hand: it runs for
    // nearly every line of the input.
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // The magnitude stops growing at 2^31: every larger one saturates alike.
    constexpr uint64_t kLimit = uint64_t{1} << 31;
    uint64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    if (negative) return magnitude >= kLimit ? INT32_MIN : -static_cast<int32_t>(magnitude);
    return magnitude >= kLimit ? INT32_MAX : static_cast<int32_t>(magnitude);
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

}  // namespace orrinrc
