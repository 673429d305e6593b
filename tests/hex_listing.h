// The hex listing that golden cases keep of resource.bin.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>

// 16 bytes a line: "00000010: e8 03 3a 00 ...".
inline std::string hex_listing(const std::string& bytes) {
    std::string out;
    char buf[32];
    for (size_t i = 0; i < bytes.size(); i += 16) {
        std::snprintf(buf, sizeof buf, "%08zx:", i);
        out += buf;
        for (size_t j = i; j < std::min(bytes.size(), i + 16); ++j) {
            std::snprintf(buf, sizeof buf, " %02x", static_cast<unsigned char>(bytes[j]));
            out += buf;
        }
        out += '\n';
    }
    return out;
}
