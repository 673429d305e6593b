// Statements in the form that messages quote them.
#include "check/spellings.h"

namespace orrinrc::check {

std::string_view normal_statement(std::string_view t, std::string& out) {
    if (!t.empty() && t[0] == '(') {
        const size_t close = t.find(')');
        if (close != std::string_view::npos) t.remove_prefix(close + 1);
    }
    out.resize(t.size());
    size_t n = 0;
    for (char c : t) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        out[n++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return std::string_view(out).substr(0, n);
}

}  // namespace orrinrc::check
