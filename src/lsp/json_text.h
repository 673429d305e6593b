// JSON text written straight into a string, for the server's large
// messages: a document's symbols or diagnostics are tens of thousands of
// small objects, which cost many times more to build as a tree of values
// and then print than to write at once. The text is what nlohmann::json's
// dump() writes for the same values (compact, no ASCII escapes, bytes that
// are no UTF-8 replaced by U+FFFD), provided the keys of each object are
// written in their sorted order, as a tree of values keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orrinrc::lsp {

class JsonText {
public:
    JsonText& begin_object() { return open('{'); }
    JsonText& end_object() { return close('}'); }
    JsonText& begin_array() { return open('['); }
    JsonText& end_array() { return close(']'); }
    // An object's key; its value follows.
    JsonText& key(std::string_view k);
    JsonText& value(std::string_view s);
    JsonText& value(const char* s) { return value(std::string_view(s)); }
    JsonText& value(int64_t n);
    JsonText& value(uint64_t n);
    JsonText& value(int n) { return value(static_cast<int64_t>(n)); }
    JsonText& value(uint32_t n) { return value(static_cast<uint64_t>(n)); }
    // A value given as JSON text.
    JsonText& raw(std::string_view json);

    const std::string& text() const { return out_; }

private:
    JsonText& open(char c);
    JsonText& close(char c);
    void separate();

    std::string out_;
    bool first_ = true;      // nothing yet in the open object or array
    bool after_key_ = false;  // a key was written; its value comes next
};

// `s` as a JSON string, quotes included, written as JsonText writes it.
void append_json_string(std::string& out, std::string_view s);

}  // namespace orrinrc::lsp
