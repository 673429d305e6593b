// Reading and writing whole files in tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "util/process.h"

// A new, empty folder for the running test, named after it and this process.
inline std::filesystem::path fresh_test_folder(const std::string& prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + std::to_string(orrinrc::process::id()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// The whole content of a file ("" when it cannot be read).
inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}


// A BMP file of 2 x 1 pixels at 1 bit per pixel: white, black.
inline std::string tiny_bmp() {
    std::string b = "BM";
    auto le32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
    };
    auto le16 = [&](uint16_t v) {
        b.push_back(static_cast<char>(v));
        b.push_back(static_cast<char>(v >> 8));
    };
    le32(14 + 40 + 8 + 4), le32(0), le32(14 + 40 + 8), le32(40), le32(2), le32(1), le16(1), le16(1);
    for (int i = 0; i < 6; ++i) le32(0);
    le32(0x00FFFFFF), le32(0), le32(0x40000000);  // palette white, black; the row 0 1
    return b;
}
