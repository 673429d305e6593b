// Per-kind decoding of resource.bin records into fields, by the kinds'
// block layouts.
#include "dump/records.h"

#include <unordered_set>

namespace orrinrc::dump {

using format::BlockSpec;
using format::Kind;

long Field::number() const {
    if (encoding() == Encoding::S16) return static_cast<int16_t>(value);
    return static_cast<long>(value);
}

const Field* Record::find(FieldId id) const {
    for (const Field& f : fields)
        if (f.id == id) return &f;
    return nullptr;
}

bool BitmapView::drawable(std::string& why) const {
    if (!present) {
        why = "no image data";
        return false;
    }
    if (depth != format::kTwoBit && depth != format::kFourBit) {
        why = strf("depth %u is neither 2 nor 4", depth);
        return false;
    }
    if (width <= 0 || height <= 0) {
        why = strf("empty picture (%d x %d)", width, height);
        return false;
    }
    const size_t needed = static_cast<size_t>(words_per_row()) * static_cast<size_t>(height);
    if (words.size() != needed) {
        why = strf("%zu data words, a %d x %d picture at depth %u has %zu", words.size(), width, height, depth,
                   needed);
        return false;
    }
    return true;
}

namespace {

// Decodes the inner blocks of one record into its fields.
class Decoder {
public:
    Decoder(const Bytes& bytes, const RawRecord& raw, Record& rec) : bytes_(bytes), raw_(raw), rec_(rec) {}

    void expect_blocks(size_t n, const char* which = "") {
        if (raw_.inner.size() != n)
            throw DumpError{raw_.outer.start,
                            strf("%s%s record has %zu inner blocks, its layout has %zu", kind(), which,
                                 raw_.inner.size(), n)};
    }

    // Inner block n (counted from 1) for reading.
    Reader open(size_t n) const {
        const Block& b = raw_.inner.at(n - 1);
        return Reader(bytes_, b.content(), b.end());
    }

    // Inner block n, which must hold exactly `size` bytes.
    Reader fixed(size_t n, size_t size, const char* what) const {
        const Block& b = raw_.inner.at(n - 1);
        if (b.content_size() != size)
            throw DumpError{b.start, strf("inner block %zu of a %s (%s) holds %zu byte%s, its layout has %zu", n,
                                          kind(), what, b.content_size(), b.content_size() == 1 ? "" : "s", size)};
        return open(n);
    }

    // Checks that a block of variable content has been read to its end.
    void finish(const Reader& r, size_t n, const char* what) const {
        if (!r.at_end())
            throw DumpError{r.pos(), strf("inner block %zu of a %s (%s) has %zu byte%s after its content", n, kind(),
                                          what, r.left(), r.left() == 1 ? "" : "s")};
    }

    // The blocks of `blocks`, the first of them being inner block `first`
    // (counted from 1); a special block goes to `special`.
    template <typename Special>
    void blocks(std::span<const BlockSpec> blocks, size_t first, Special&& special) {
        size_t n = first;
        for (const BlockSpec& block : blocks) {
            if (block.special) special(n, block);
            else this->block(n, block);
            ++n;
        }
    }
    void blocks(std::span<const BlockSpec> list, size_t first) {
        blocks(list, first, [](size_t, const BlockSpec&) {});
    }

    // One regular block: its fields, as many times as its repeat field says.
    void block(size_t n, const BlockSpec& block) {
        const uint32_t times = block.repeat == FieldId::None ? 1 : value_of(block.repeat);
        if (const size_t size = block.fixed_size()) {
            Reader r = fixed(n, size_t{times} * size, block.what);
            for (uint32_t i = 0; i < times; ++i)
                for (FieldId id : block.field_list()) field(r, id, n);
            return;
        }
        Reader r = open(n);
        for (FieldId id : block.field_list()) field(r, id, n);
        finish(r, n, block.what);
    }

    // One field at the reader; a text or a bitmap takes the rest of it.
    uint32_t field(Reader& r, FieldId id, size_t n) {
        const format::FieldSpec& spec = format::field_spec(id);
        const char* key = spec.statement;
        switch (spec.encoding) {
        case Encoding::U8:
        case Encoding::Choice: return add(id, r.pos()).value = r.u8(key);
        case Encoding::U16:
        case Encoding::S16:
        case Encoding::Boolean: return add(id, r.pos()).value = r.u16(key);
        case Encoding::Word: return add(id, r.pos()).value = r.u32(key);
        case Encoding::Bounds: {
            StoredBounds& b = add(id, r.pos()).bounds;
            b.x = static_cast<int16_t>(r.u16("bounds"));
            b.y = static_cast<int16_t>(r.u16("bounds"));
            b.width = static_cast<int16_t>(r.u16("bounds"));
            b.height = static_cast<int16_t>(r.u16("bounds"));
            return 0;
        }
        case Encoding::Bitmap: bitmap(r, id); return 0;
        case Encoding::Text:
            if (spec.count != FieldId::None) texts(r, id, value_of(spec.count), n);
            else text(r, id);
            return 0;
        }
        return 0;
    }

    Field& add(FieldId id, size_t offset) {
        Field f;
        f.id = id;
        f.offset = offset;
        rec_.fields.push_back(std::move(f));
        return rec_.fields.back();
    }

    // The value of the last field decoded with this identifier.
    uint32_t value_of(FieldId id) const {
        for (auto it = rec_.fields.rbegin(); it != rec_.fields.rend(); ++it)
            if (it->id == id) return it->value;
        return 0;
    }

    // A text that fills the rest of the reader: nothing (none) or its bytes
    // and one NUL.
    void text(Reader& r, FieldId id) {
        Field& f = add(id, r.pos());
        if (!r.at_end()) f.text = r.cstring(format::statement(id));
    }
    // Texts back to back, at most `count` of them, filling the rest.
    void texts(Reader& r, FieldId id, uint32_t count, size_t n) {
        uint32_t seen = 0;
        while (!r.at_end()) {
            if (seen == count)
                throw DumpError{r.pos(), strf("inner block %zu of a %s holds more texts than the %u it declares", n,
                                              kind(), count)};
            text_at(r, id);
            ++seen;
        }
    }
    // A text that is there: its bytes and one NUL.
    void text_at(Reader& r, FieldId id) {
        Field& f = add(id, r.pos());
        f.text = r.cstring(format::statement(id));
    }
    // A bitmap data block that fills the rest of the reader, or nothing.
    void bitmap(Reader& r, FieldId id) {
        BitmapView& bm = add(id, r.pos()).bitmap;
        if (r.at_end()) return;
        bm.present = true;
        bm.offset = r.pos();
        bm.x = static_cast<int16_t>(r.u16("bitmap header"));
        bm.y = static_cast<int16_t>(r.u16("bitmap header"));
        bm.width = static_cast<int16_t>(r.u16("bitmap header"));
        bm.height = static_cast<int16_t>(r.u16("bitmap header"));
        bm.reserved = r.u8("bitmap header");
        bm.depth = r.u8("bitmap header");
        bm.size = r.u16("bitmap header");
        bm.padding = (4 - bm.offset % 4) % 4;
        for (size_t i = 0; i < bm.padding; ++i)
            if (r.u8("bitmap padding") != 0) bm.padding_zero = false;
        const size_t count = bm.size / 4;
        if (r.left() / 4 < count)
            throw DumpError{r.pos(), strf("bitmap data of %u bytes runs past its block, which has %zu bytes left",
                                          bm.size, r.left())};
        bm.words.reserve(count);
        for (size_t i = 0; i < count; ++i) bm.words.push_back(r.u32("bitmap data"));
    }

    const char* kind() const { return rec_.keyword(); }

    const Bytes& bytes_;
    const RawRecord& raw_;
    Record& rec_;
};

// The blocks after the object type block of a kind's record.
std::span<const BlockSpec> blocks_after_type(Kind k) { return format::record_blocks(k).subspan(1); }

void decode_form(Decoder& d) {
    d.expect_blocks(format::record_blocks(Kind::Form).size());
    d.blocks(blocks_after_type(Kind::Form), 2, [&](size_t n, const BlockSpec& block) {
        // The bitmap block holds a picture only for the styles that show one.
        Reader r = d.open(n);
        const uint32_t style = d.value_of(FieldId::FormStyle);
        if (format::form_stores_bitmap(style)) {
            d.bitmap(r, FieldId::FormBitmap);
            d.finish(r, n, block.what);
        } else if (!r.at_end()) {
            throw DumpError{r.pos(), strf("inner block %zu of a FORM holds %zu bytes, a form of style %u stores no "
                                          "bitmap",
                                          n, r.left(), style)};
        }
    });
}

void decode_control(Decoder& d, const RawRecord& raw) {
    const auto common = format::record_blocks(Kind::Control);
    if (raw.inner.size() < common.size()) d.expect_blocks(common.size() + 1);
    // The style decides the blocks that follow the common ones.
    d.blocks(common.subspan(1, 3), 2);
    const uint32_t style = d.value_of(FieldId::ControlStyle);
    const auto own = format::control_style_blocks(style);
    if (own.empty()) throw DumpError{raw.inner[3].content(), strf("unknown control style %u (the styles are 0 to 4)", style)};
    d.expect_blocks(common.size() + own.size(), strf(" (%s)", format::kControlStyleWords.word(style)).c_str());
    d.blocks(common.subspan(4), 5, [&](size_t n, const BlockSpec&) {
        // A check box stores no subtype.
        if (style == format::kCheckbox) {
            d.fixed(n, 0, "subtype, not stored for a check box");
        } else {
            Reader r = d.fixed(n, 1, "subtype");
            d.field(r, FieldId::ControlSubtype, n);
        }
    });
    d.blocks(own, common.size() + 1);
}

constexpr size_t kCellFixed = format::kCellFixedBytes;

// Whether the fixed part of a cell at `at` holds values that the language can
// give a cell (data type, font, alignment 0-2, colours 0-3, flags 0/1).
bool cell_in_range(const Bytes& b, size_t at) {
    return b[at] <= 2 && b[at + 3] <= 2 && b[at + 8] <= 2 && b[at + 9] <= 3 && b[at + 10] <= 3 &&
           b[at + 11] <= 1 && b[at + 12] == 0 && b[at + 13] <= 1 && b[at + 14] == 0;
}

// Where each cell's text lies. A cell is 15 bytes, then either nothing or a
// NUL-terminated text, so the block alone does not say which cells have one;
// this finds a split that fills the block exactly, preferring one in which
// every cell holds values that the language can give it. Returns for each
// cell whether a text follows its fixed part; throws when no split exists.
std::vector<bool> split_cells(const Bytes& b, const Block& block, uint64_t count, size_t n) {
    const size_t begin = block.content(), end = block.end();
    if (count > (end - begin) / kCellFixed)
        throw DumpError{block.start, strf("inner block %zu of a TABLE holds %zu bytes, too few for %llu cells of %zu "
                                          "bytes",
                                          n, end - begin, static_cast<unsigned long long>(count), kCellFixed)};
    // next_nul[i - begin]: the first NUL at or after i, or end.
    std::vector<size_t> next_nul(end - begin + 1, end);
    for (size_t i = end; i-- > begin;) next_nul[i - begin] = b[i] == 0 ? i : next_nul[i + 1 - begin];

    struct Frame {
        uint64_t cell;
        size_t at;
        int tried;  // 0: not yet visited; 1: no-text tried; 2: text tried
    };
    constexpr uint64_t kBudget = 4'000'000;
    for (bool strict : {true, false}) {
        std::unordered_set<uint64_t> failed;
        std::vector<Frame> stack{{0, begin, 0}};
        uint64_t visits = 0;
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.cell == count) {
                if (f.at == end) {
                    std::vector<bool> has_text;
                    has_text.reserve(count);
                    for (size_t i = 0; i + 1 < stack.size(); ++i) has_text.push_back(stack[i].tried == 2);
                    return has_text;
                }
                stack.pop_back();
                continue;
            }
            const uint64_t key = f.cell << 32 ^ (f.at - begin);
            if (f.tried == 0) {
                if (++visits > kBudget)
                    throw DumpError{block.start, strf("the texts of the cells in inner block %zu of a TABLE cannot be "
                                                      "told apart within a reasonable effort",
                                                      n)};
                const bool room = end - f.at >= (count - f.cell) * kCellFixed;
                if (!room || failed.count(key) || (strict && !cell_in_range(b, f.at))) {
                    stack.pop_back();
                    continue;
                }
            }
            if (f.tried == 0) {
                f.tried = 1;
                const size_t at = f.at + kCellFixed;
                stack.push_back({f.cell + 1, at, 0});
                continue;
            }
            if (f.tried == 1) {
                f.tried = 2;
                const size_t nul = next_nul[f.at + kCellFixed - begin];
                if (nul < end) {
                    const uint64_t cell = f.cell + 1;
                    stack.push_back({cell, nul + 1, 0});
                }
                continue;
            }
            failed.insert(key);
            stack.pop_back();
        }
    }
    throw DumpError{block.start, strf("inner block %zu of a TABLE cannot be split into %llu cells", n,
                                      static_cast<unsigned long long>(count))};
}

void decode_table(Decoder& d, const Bytes& bytes, const RawRecord& raw) {
    d.expect_blocks(format::record_blocks(Kind::Table).size());
    d.blocks(blocks_after_type(Kind::Table), 2, [&](size_t n, const BlockSpec&) {
        const uint64_t count = uint64_t{d.value_of(FieldId::TableRows)} * d.value_of(FieldId::TableColumns);
        const std::vector<bool> has_text = split_cells(bytes, raw.inner[n - 1], count, n);
        Reader r = d.open(n);
        for (uint64_t i = 0; i < count; ++i) {
            for (FieldId id : format::table_cell_fields()) {
                if (id != FieldId::CellText) d.field(r, id, n);
                else if (has_text[i]) d.text_at(r, id);
                else d.add(id, r.pos());
            }
        }
        d.finish(r, n, "cells");
    });
}

// The kinds without a block that needs code of its own.
void decode_regular(Decoder& d, Kind k) {
    d.expect_blocks(format::record_blocks(k).size());
    d.blocks(blocks_after_type(k), 2);
}

}  // namespace

Record decode_record(const Bytes& bytes, const RawRecord& raw) {
    Record rec;
    rec.offset = raw.offset;
    rec.end = raw.outer.end();
    rec.id = raw.id;
    const Block& first = raw.inner.front();
    if (first.content_size() != 1)
        throw DumpError{first.start, strf("inner block 1 holds %zu bytes, the object type block holds 1",
                                          first.content_size())};
    rec.type = bytes[first.content()];
    if (format::kind_of_code(rec.type) == nullptr)
        throw DumpError{first.content(), strf("unknown object type code %u (the codes are 0 to 11)", rec.type)};

    Decoder d(bytes, raw, rec);
    switch (rec.kind()) {
    case Kind::Form: decode_form(d); break;
    case Kind::Control: decode_control(d, raw); break;
    case Kind::Table: decode_table(d, bytes, raw); break;
    default: decode_regular(d, rec.kind()); break;
    }
    return rec;
}

std::vector<Record> decode_image(const Bytes& bytes) {
    std::vector<Record> records;
    walk_image(bytes, [&](Record& rec) { records.push_back(std::move(rec)); });
    return records;
}

}  // namespace orrinrc::dump
