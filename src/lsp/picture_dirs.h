// Where the build looks up a resource text's pictures, for a server that the
// editor starts without -I. orrinrc_add_resources writes, at the top of the
// build tree, a file listing each resource text with its picture folders:
//
//   # comment lines
//   text=/abs/path/of/app.rc
//   dir=/abs/folder/of/the/text
//   dir=/abs/picture/folder
//   text=...
//
// The server finds it the way language servers find a build's compilation
// database: from the document's folder up to the root, in each folder and in
// its subfolders whose names start with "build".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orrinrc::lsp {

inline constexpr const char* kPictureDirsFile = "orrinrc_picture_dirs.txt";

// The folders that `listing` (the file's text) gives the resource text
// `document` (an absolute path; both sides are compared with their links
// resolved); nullopt when it does not list it.
std::optional<std::vector<std::string>> listed_picture_dirs(const std::string& listing, const std::string& document);

// The folders to look pictures up in for the document at `document`: `given`
// (the -I folders), then those of the first listing found above the document
// that names it.
std::vector<std::string> picture_dirs_for(const std::vector<std::string>& given, const std::string& document);

}  // namespace orrinrc::lsp
