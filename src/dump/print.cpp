// Listing of records: one line per field, keyword first. A record's lines
// are put together in a buffer and written in pieces of at least 64 KB or
// at its end; the listing of a large image is mostly this formatting, so it
// avoids printf.
#include "dump/print.h"

#include "format/language.h"

#include <charconv>

namespace orrinrc::dump {

std::string quote_text(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c < 0x20 || c == 0x7F) out += strf("\\x%02X", c);
            else out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

namespace {

void put(std::string& out, long long v) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end);
}

// "0x" and at least six lowercase hexadecimal digits.
void put_offset(std::string& out, size_t v) {
    char digits[20];
    const auto end = std::to_chars(digits, digits + sizeof digits, v, 16).ptr;
    out += "0x";
    for (auto n = end - digits; n < 6; ++n) out += '0';
    out.append(digits, end);
}

void put_rectangle(std::string& out, long x, long y, long width, long height) {
    using format::Role;
    out += format::group_line(Role::X);
    put(out, x);
    out += ' ';
    out += format::group_line(Role::Y);
    put(out, y);
    out += ' ';
    out += format::group_line(Role::Width);
    put(out, width);
    out += ' ';
    out += format::group_line(Role::Height);
    put(out, height);
}

void put_bitmap(std::string& out, const BitmapView& bm) {
    if (!bm.present) {
        out += "none";
        return;
    }
    put_rectangle(out, bm.x, bm.y, bm.width, bm.height);
    out += ' ';
    if (bm.depth == format::kTwoBit) out += format::kTwoBitWord;
    else if (bm.depth == format::kFourBit) out += format::kFourBitWord;
    else {
        out += "depth ";
        put(out, bm.depth);
    }
    out += ", ";
    put(out, bm.size);
    out += " data bytes at ";
    put_offset(out, bm.offset + 12 + bm.padding);
    if (bm.reserved != 0) {
        out += ", reserved byte ";
        put(out, bm.reserved);
    }
    if (!bm.padding_zero) out += ", padding not zero";
}

}  // namespace

void print_record(FILE* file, const Record& rec, const std::string& name) {
    static std::string out;
    out.clear();
    put_offset(out, rec.offset);
    out += ' ';
    const size_t keyword_at = out.size();
    out += rec.keyword();
    while (out.size() < keyword_at + 9) out += ' ';
    out += ' ';
    out += format::kIdStatement;
    put(out, rec.id);
    if (!name.empty()) {
        out += ' ';
        out += format::kNameStatement;
        out += name;
    }
    out += " (";
    put(out, static_cast<long long>(rec.end - rec.offset));
    out += " bytes)\n";
    if (rec.type_missing()) {
        out += "    (object type code ";
        put(out, rec.type);
        out += ": the definition had no OBJECT.TYPE= line; the blocks are a ";
        out += rec.keyword();
        out += "'s)\n";
    }
    for (const Field& f : rec.fields) {
        out += "    ";
        out += f.key();
        switch (f.encoding()) {
        case Encoding::U8:
        case Encoding::U16:
        case Encoding::S16: put(out, f.number()); break;
        case Encoding::Word: put(out, static_cast<int32_t>(f.value)); break;
        case Encoding::Boolean:
            put(out, f.value);
            if (f.value > 1) out += " (not 0 or 1)";
            break;
        case Encoding::Choice:
            if (const char* w = f.info().words->word(f.value)) {
                out += w;
            } else {
                put(out, f.value);
                out += " (no keyword for this value)";
            }
            break;
        case Encoding::Text: out += f.text ? quote_text(*f.text) : "none"; break;
        case Encoding::Bounds:
            out += ' ';
            put_rectangle(out, f.bounds.x, f.bounds.y, f.bounds.width, f.bounds.height);
            break;
        case Encoding::Bitmap:
            out += ' ';
            put_bitmap(out, f.bitmap());
            break;
        }
        out += '\n';
        // A record of many fields (a large table) goes out in pieces.
        if (out.size() >= 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), file);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), file);
}

}  // namespace orrinrc::dump
