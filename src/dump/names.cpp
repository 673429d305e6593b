// Reading resource.h back into names.
#include "dump/names.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "util/files.h"

namespace orrinrc::dump {

// "#define " + name padded to at least 40 characters + " " + the identifier.
bool parse_define_line(const std::string& line, DefineLine& out) {
    static const std::string kPrefix = "#define ";
    if (line.compare(0, kPrefix.size(), kPrefix) != 0) return false;
    const size_t blank = line.rfind(' ');
    if (blank == std::string::npos || blank < kPrefix.size() + 40) return false;
    const std::string number = line.substr(blank + 1);
    if (number.empty() || number.size() > 5) return false;
    unsigned long id = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + static_cast<unsigned long>(c - '0');
    }
    if (id > 65535 || (number.size() > 1 && number[0] == '0')) return false;
    std::string name = line.substr(kPrefix.size(), blank - kPrefix.size());
    // A name shorter than 40 characters was padded with blanks; blanks that
    // the name itself ended with cannot be told from the padding, and either
    // way the line comes out the same.
    if (name.size() == 40) {
        while (!name.empty() && name.back() == ' ') name.pop_back();
    }
    out.name = std::move(name);
    out.id = static_cast<uint16_t>(id);
    return true;
}

bool parse_resource_h(const std::string& content, std::vector<DefineLine>& out, std::string& error) {
    out.clear();
    size_t at = 0;
    size_t line_no = 0;
    while (at < content.size()) {
        ++line_no;
        const size_t nl = content.find('\n', at);
        if (nl == std::string::npos) {
            error = "line " + std::to_string(line_no) + " has no line end";
            return false;
        }
        DefineLine d;
        if (!parse_define_line(content.substr(at, nl - at), d)) {
            error = "line " + std::to_string(line_no) + " is not a \"#define <name> <identifier>\" line";
            return false;
        }
        out.push_back(std::move(d));
        at = nl + 1;
    }
    return true;
}

std::string file_base(const std::string& name) {
    std::string out;
    for (unsigned char c : name) out += (std::isalnum(c) || c == '_' || c == '-') ? static_cast<char>(c) : '_';
    if (out.empty()) out.push_back('_');
    return out.substr(0, 64);
}

std::string unique_file_base(NameSet& used, const std::string& name, const char* keyword, uint16_t id,
                             const std::string& suffix) {
    const std::string base = (name.empty() ? std::string(keyword) + "_" + std::to_string(id) : file_base(name)) + suffix;
    std::string file = base;
    for (int n = 2; !used.insert(file); ++n) file = base + "_" + std::to_string(n);
    return file;
}

DefineFile::~DefineFile() {
    if (file_ != nullptr) std::fclose(file_);
    std::free(line_buffer_);
}

bool DefineFile::read_line(std::string& out) {
    const long n = files::get_line(&line_buffer_, &line_capacity_, file_);
    if (n <= 0) {
        out.clear();
        return false;
    }
    const size_t length = static_cast<size_t>(n);
    const bool ended = line_buffer_[length - 1] == '\n';
    out.assign(line_buffer_, ended ? length - 1 : length);
    return true;
}

bool DefineFile::open(const std::string& path, std::string& error, bool& unreadable) {
    unreadable = true;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ != nullptr && files::status(fileno(file_)).kind != files::Kind::Regular) {
        std::fclose(file_);
        file_ = nullptr;
        errno = EINVAL;
    }
    if (file_ == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    unreadable = false;
    first_line_.assign(65536, -1);
    std::string text;
    DefineLine d;
    for (;;) {
        const long at = std::ftell(file_);
        if (!read_line(text)) break;
        ++lines_;
        if (std::feof(file_)) {
            error = "line " + std::to_string(lines_) + " has no line end";
            return false;
        }
        if (!parse_define_line(text, d)) {
            error = "line " + std::to_string(lines_) + " is not a \"#define <name> <identifier>\" line";
            return false;
        }
        if (first_line_[d.id] < 0) first_line_[d.id] = at;
    }
    if (std::ferror(file_)) {
        unreadable = true;
        error = std::strerror(errno);
        return false;
    }
    rewind();
    return true;
}

void DefineFile::rewind() {
    std::clearerr(file_);
    std::fseek(file_, 0, SEEK_SET);
    next_ = 0;
    current_index_ = SIZE_MAX;
}

bool DefineFile::line(size_t index, DefineLine& out) {
    if (file_ == nullptr || index >= lines_) return false;
    if (index != current_index_) {
        if (index < next_) rewind();
        std::string text;
        while (next_ <= index) {
            if (!read_line(text)) return false;
            ++next_;
        }
        parse_define_line(text, current_);
        current_index_ = index;
    }
    out = current_;
    return true;
}

std::string DefineFile::name_for(size_t index, uint16_t id) {
    DefineLine d;
    if (line(index, d) && d.id == id) return d.name;
    if (file_ == nullptr || first_line_[id] < 0) return "";
    // Elsewhere in the file: read that line, then come back.
    const long back = std::ftell(file_);
    std::fseek(file_, first_line_[id], SEEK_SET);
    std::string text;
    read_line(text);
    std::fseek(file_, back, SEEK_SET);
    return parse_define_line(text, d) ? d.name : "";
}

bool NameSet::insert(const std::string& name) {
    // FNV-1a, then a mix, so that similar names spread over the table.
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : name) h = (h ^ c) * 1099511628211ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    if (h == 0) h = 1;  // 0 marks a free slot
    if ((used_ + 1) * 2 > slots_.size()) {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, 0);
        used_ = 0;
        for (uint64_t v : old)
            if (v != 0) {
                size_t i = v & (slots_.size() - 1);
                while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
                slots_[i] = v;
                ++used_;
            }
    }
    size_t i = h & (slots_.size() - 1);
    while (slots_[i] != 0) {
        if (slots_[i] == h) return false;
        i = (i + 1) & (slots_.size() - 1);
    }
    slots_[i] = h;
    ++used_;
    return true;
}

}  // namespace orrinrc::dump
