// Reading resource.h back into names.
#include "dump/names.h"

#include <cctype>
#include <cstdio>

namespace orrinrc::dump {

namespace {

// "#define " + name padded to at least 40 characters + " " + the identifier.
bool parse_line(const std::string& line, DefineLine& out) {
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

}  // namespace

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
        if (!parse_line(content.substr(at, nl - at), d)) {
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

}  // namespace orrinrc::dump
