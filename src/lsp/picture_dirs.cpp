// Finding the build's picture folders for a document.
#include "lsp/picture_dirs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orrinrc::lsp {

namespace fs = std::filesystem;

namespace {

// A path as the listing and the document are compared: absolute, without
// links, "." or "..", where the file system can tell.
std::string comparable(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::path(path), ec);
    return ec ? path : p.string();
}

std::optional<std::vector<std::string>> dirs_in_file(const fs::path& file, const std::string& document) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return listed_picture_dirs(text.str(), document);
}

// The listings to try in one folder: its own, then those of its build*
// subfolders in name order.
std::vector<fs::path> listings_in(const fs::path& dir) {
    std::vector<fs::path> builds;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code type_ec;
        if (name.rfind("build", 0) == 0 && it->is_directory(type_ec)) builds.push_back(it->path() / kPictureDirsFile);
    }
    std::sort(builds.begin(), builds.end());
    builds.insert(builds.begin(), dir / kPictureDirsFile);
    return builds;
}

}  // namespace

std::optional<std::vector<std::string>> listed_picture_dirs(const std::string& listing, const std::string& document) {
    const std::string wanted = comparable(document);
    std::istringstream lines(listing);
    std::optional<std::vector<std::string>> found;
    bool in_entry = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("text=", 0) == 0) {
            if (found) break;  // the document's entry has ended
            in_entry = comparable(line.substr(5)) == wanted;
            if (in_entry) found.emplace();
        } else if (in_entry && line.rfind("dir=", 0) == 0) {
            found->push_back(line.substr(4));
        }
    }
    return found;
}

std::vector<std::string> picture_dirs_for(const std::vector<std::string>& given, const std::string& document) {
    std::vector<std::string> dirs = given;
    if (!fs::path(document).is_absolute()) return dirs;
    for (fs::path dir = fs::path(document).parent_path();; dir = dir.parent_path()) {
        for (const fs::path& file : listings_in(dir))
            if (std::optional<std::vector<std::string>> listed = dirs_in_file(file, document)) {
                dirs.insert(dirs.end(), listed->begin(), listed->end());
                return dirs;
            }
        if (dir == dir.parent_path()) break;
    }
    return dirs;
}

}  // namespace orrinrc::lsp
