// Byte images for the orrinrc-dump tests.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "dump/container.h"

using orrinrc::dump::Bytes;

// Bytes from hex text; blanks and commas between bytes are ignored.
inline Bytes hex_bytes(std::string_view hex) {
    Bytes out;
    int high = -1;
    for (char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) continue;
        const int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    return out;
}

// A whole image: the total-length field, then the records.
inline Bytes image(std::initializer_list<Bytes> records) {
    Bytes body;
    for (const Bytes& r : records) body.insert(body.end(), r.begin(), r.end());
    const uint32_t total = static_cast<uint32_t>(body.size() + 4);
    Bytes out(body.size() + 4);
    for (size_t i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(total >> (8 * i));
    std::copy(body.begin(), body.end(), out.begin() + 4);
    return out;
}

// The records of the worked examples, each as the first record of a file.
inline const char* const kForm60 =
    "E8 03, 3A 00 00 00, 05 00 00 00 00, 0C 00 00 00 00 00 00 00 A0 00 A0 00, 06 00 00 00 00 00, 05 00 00 00 01, "
    "09 00 00 00 4D 61 69 6E 00, 04 00 00 00, 06 00 00 00 01 00, 07 00 00 00 E9 03 01";
inline const char* const kControl69 =
    "E9 03, 43 00 00 00, 05 00 00 00 01, 06 00 00 00 00 00, 0C 00 00 00 0A 00 14 00 32 00 0C 00, 05 00 00 00 00, "
    "05 00 00 00 00, 07 00 00 00 4F 4B 00, 05 00 00 00 01, 0A 00 00 00 01 00 00 00 01 00, 08 00 00 00 03 00 03 00";
inline const char* const kField123 =
    "E9 03, 79 00 00 00, 05 00 00 00 02, 06 00 00 00 00 00, 0C 00 00 00 0A 00 14 00 64 00 0C 00, 04 00 00 00, "
    "05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, "
    "08 00 00 00 14 00 00 00, 08 00 00 00 00 00 00 00, 08 00 00 00 00 00 00 00, 08 00 00 00 00 00 00 00, "
    "08 00 00 00 00 00 00 00, 14 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00";
inline const char* const kList107 =
    "2C 01, 69 00 00 00, 05 00 00 00 03, 06 00 00 00 07 00, 0C 00 00 00 00 00 00 00 3C 00 32 00, 06 00 00 00 01 00, "
    "06 00 00 00 09 00, 06 00 00 00 02 00, 06 00 00 00 02 00, 06 00 00 00 00 00, 05 00 00 00 00, 06 00 00 00 00 00, "
    "05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 08 00 00 00 61 00 62 00, "
    "0E 00 00 00 01 00 01 00 00 00 00 00 00 00";
inline const char* const kMenu55 =
    "F4 01, 35 00 00 00, 05 00 00 00 04, 0C 00 00 00 00 00 00 00 50 00 28 00, 06 00 00 00 02 00, 06 00 00 00 00 00, "
    "0E 00 00 00 4F 70 65 6E 00 51 75 69 74 00, 06 00 00 00 01 00";
inline const char* const kTable108 =
    "90 01, 6A 00 00 00, 05 00 00 00 06, 0C 00 00 00 00 00 00 00 32 00 14 00, 06 00 00 00 01 00, 06 00 00 00 01 00, "
    "06 00 00 00 32 00, 06 00 00 00 14 00, 06 00 00 00 00 00, 06 00 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, "
    "04 00 00 00, 15 00 00 00 00 00 00 00 07 00 00 00 00 00 00 00 00 00 00 41 00, "
    "0E 00 00 00 01 00 00 00 00 00 00 00 01 00";
