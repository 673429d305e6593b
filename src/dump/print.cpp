// Listing of records: one line per field, keyword first.
#include "dump/print.h"

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

std::string choice_text(const Field& f) {
    if (const char* w = f.spec().words->word(f.value)) return w;
    return strf("%u (no keyword for this value)", f.value);
}

std::string bitmap_text(const BitmapView& bm) {
    if (!bm.present) return "none";
    std::string depth = bm.depth == format::kTwoBit    ? format::kTwoBitWord
                        : bm.depth == format::kFourBit ? format::kFourBitWord
                                                       : strf("depth %u", bm.depth);
    std::string s = strf("X=%d Y=%d WIDTH=%d HEIGHT=%d %s, %u data bytes at 0x%06zx", bm.x, bm.y, bm.width,
                         bm.height, depth.c_str(), bm.size, bm.offset + 12 + bm.padding);
    if (bm.reserved != 0) s += strf(", reserved byte %u", bm.reserved);
    if (!bm.padding_zero) s += ", padding not zero";
    return s;
}

}  // namespace

void print_record(FILE* out, const Record& rec, const std::string& name) {
    std::fprintf(out, "0x%06zx %-9s ID=%u", rec.offset, rec.keyword(), rec.id);
    if (!name.empty()) std::fprintf(out, " NAME=%s", name.c_str());
    std::fprintf(out, " (%zu bytes)\n", rec.end - rec.offset);
    for (const Field& f : rec.fields) {
        std::string value;
        switch (f.encoding()) {
        case Encoding::U8:
        case Encoding::U16:
        case Encoding::S16: value = std::to_string(f.number()); break;
        case Encoding::Word: value = std::to_string(static_cast<int32_t>(f.value)); break;
        case Encoding::Boolean:
            value = f.value <= 1 ? std::to_string(f.value) : strf("%u (not 0 or 1)", f.value);
            break;
        case Encoding::Choice: value = choice_text(f); break;
        case Encoding::Text: value = f.text ? quote_text(*f.text) : "none"; break;
        case Encoding::Bounds:
            value = strf("X=%d Y=%d WIDTH=%d HEIGHT=%d", f.bounds.x, f.bounds.y, f.bounds.width, f.bounds.height);
            break;
        case Encoding::Bitmap: value = bitmap_text(f.bitmap); break;
        }
        const bool group = f.encoding() == Encoding::Bounds || f.encoding() == Encoding::Bitmap;
        std::fprintf(out, "    %s%s%s\n", f.key(), group ? " " : "", value.c_str());
    }
}

}  // namespace orrinrc::dump
