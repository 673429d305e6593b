// The page, its style and its script, built into the program from
// src/preview/page/ so that the server opens no file to serve them.
#pragma once

#include <span>
#include <string_view>

namespace orrinrc::preview {

struct PageFile {
    std::string_view path;  // "/", "/preview.css", "/preview.js"
    std::string_view content_type;
    std::string_view content;
};

std::span<const PageFile> page_files();

}  // namespace orrinrc::preview
