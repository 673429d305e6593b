// Prints the language's tables as JSON for the editor grammar's generator and
// its test: every start condition with its role and kind, every statement
// with its forms (as written and as a couple of concrete lines) and every
// value word. The output is the one description of the language that the
// grammar is built from and checked against.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "format/language.h"

using namespace orrinrc::format;

namespace {

std::string json(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* role_name(StateRole r) {
    switch (r) {
        case StateRole::TopLevel: return "top";
        case StateRole::Reader: return "reader";
        case StateRole::Definition: return "definition";
        case StateRole::SubState: return "substate";
    }
    return "?";
}

// One concrete text of a form: `second` picks the other choice at each sign
// ('.' for '?', the set's last character, a run of one), so that the two
// instances differ wherever the form leaves a choice.
std::string instance(std::string_view form, bool second) {
    std::string out;
    for (size_t i = 0; i < form.size(); ++i) {
        char c = form[i];
        if (c == '?') {
            out += second ? '.' : '_';
        } else if (c == '[') {
            size_t close = form.find(']', i + 1);
            std::string_view set = form.substr(i + 1, close - i - 1);
            bool run = close + 1 < form.size() && form[close + 1] == '*';
            char pick = second ? set.back() : set.front();
            if (!run || second) out += pick;
            i = close + (run ? 1 : 0);
        } else {
            out += c;
        }
    }
    return out;
}

// The canonical spelling, its lower-case writing, and each other form's instances.
std::vector<std::string> instances(const char* spelling, std::span<const char* const> forms) {
    std::vector<std::string> out;
    auto add = [&](std::string s) {
        if (s.empty()) return;
        for (const std::string& o : out)
            if (o == s) return;
        out.push_back(std::move(s));
    };
    add(spelling);
    std::string lower = spelling;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    add(lower);
    for (const char* f : forms) {
        add(instance(f, false));
        add(instance(f, true));
    }
    return out;
}

std::string list(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + json(items[i]);
    return out + "]";
}

std::string forms_list(std::span<const char* const> forms) {
    std::vector<std::string> v(forms.begin(), forms.end());
    return list(v);
}

}  // namespace

int main() {
    std::printf("{\n\"states\": [\n");
    for (size_t i = 0; i < kStateCount; ++i) {
        const StateInfo& st = state_info(static_cast<State>(i));
        std::printf("  {\"name\": %s, \"role\": \"%s\", \"kind\": %s, \"number_fallback\": %s}%s\n",
                    json(st.name).c_str(), role_name(st.role),
                    st.role == StateRole::Definition || st.role == StateRole::SubState
                        ? json(kind_keyword(st.kind)).c_str()
                        : "null",
                    st.number_fallback ? "true" : "false", i + 1 < kStateCount ? "," : "");
    }
    std::printf("],\n\"statements\": [\n");
    auto statements = all_statements();
    for (size_t i = 0; i < statements.size(); ++i) {
        const StatementInfo& s = statements[i];
        std::printf("  {\"state\": %s, \"kind\": %s, \"top_level\": %s, \"spelling\": %s, \"forms\": %s, "
                    "\"instances\": %s, \"prefixed\": %s, \"enters\": %s}%s\n",
                    json(state_name(s.state)).c_str(), s.any_kind ? "null" : json(kind_keyword(s.kind)).c_str(),
                    s.state == State::Initial ? "true" : "false", json(s.spelling).c_str(),
                    forms_list(s.other_forms()).c_str(), list(instances(s.spelling, s.other_forms())).c_str(),
                    s.prefixed ? "true" : "false", json(state_name(s.enters)).c_str(),
                    i + 1 < statements.size() ? "," : "");
    }
    std::printf("],\n\"words\": [\n");
    auto words = all_words();
    for (size_t i = 0; i < words.size(); ++i) {
        const WordInfo& w = words[i];
        std::printf("  {\"state\": %s, \"code\": %u, \"spelling\": %s, \"forms\": %s, \"instances\": %s}%s\n",
                    json(state_name(w.state)).c_str(), static_cast<unsigned>(w.code), json(w.spelling()).c_str(),
                    forms_list(w.other_forms()).c_str(), list(instances(w.spelling(), w.other_forms())).c_str(),
                    i + 1 < words.size() ? "," : "");
    }
    std::printf("]\n}\n");
    return 0;
}
