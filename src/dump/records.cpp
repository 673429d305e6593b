// Decoding of resource.bin records into fields, by the record walk that
// the compiler's writer shares (format/codec.h).
#include "dump/records.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_set>

#include "format/codec.h"

namespace orrinrc::dump {

using format::BlockLayout;
using format::Kind;

long Field::number() const {
    if (encoding() == Encoding::S16) return static_cast<int16_t>(value);
    return static_cast<long>(value);
}

const BitmapView& Field::bitmap() const {
    static const BitmapView kNone;
    return picture ? *picture : kNone;
}

BitmapView& Field::set_bitmap() {
    if (!picture) picture = std::make_shared<BitmapView>();
    return *picture;
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

constexpr size_t kCellFixed = format::kCellFixedBytes;

// Whether the fixed part of a cell at `at` holds values that the language can
// give a cell (data type, font, alignment 0-2, colours 0-3, flags 0/1).
bool cell_in_range(const Window& b, size_t at) {
    const uint8_t* c = b.at(at);
    return c[0] <= 2 && c[3] <= 2 && c[8] <= 2 && c[9] <= 3 && c[10] <= 3 && c[11] <= 1 && c[12] == 0 &&
           c[13] <= 1 && c[14] == 0;
}

// Where each cell's text lies. A cell is 15 bytes, then either nothing or a
// NUL-terminated text, so the block alone does not say which cells have one;
// this finds a split that fills the block exactly, preferring one in which
// every cell holds values that the language can give it. Any such split
// gives the same bytes back. Returns for each cell whether a text follows
// its fixed part; throws when no split exists.
//
// From a position where a cell starts there are two moves: no text (the
// next cell starts 15 bytes on) or a text (it starts after the first NUL at
// or after those 15 bytes). One pass from the end of the block computes, for
// every position, the least and the most cells that can fill the rest of the
// block from there; a walk from the start then takes at each cell a move
// after which the cells still due lie within those bounds. Both passes are
// linear in the block's size, also on long runs of cells whose texts are
// empty, where very many splits fill the block. Should the bounds ever admit
// a count that no split gives, the walk backs out of the dead end and tries
// the other move, within a fixed budget.
std::vector<bool> split_cells(const Window& b, const Block& block, uint64_t count, size_t n) {
    const size_t begin = block.content(), end = block.end(), size = end - begin;
    if (count > size / kCellFixed)
        throw DumpError{block.start, strf("inner block %zu of a TABLE holds %zu bytes, too few for %llu cells of %zu "
                                          "bytes",
                                          n, size, static_cast<unsigned long long>(count), kCellFixed)};
    // Cell counts fit in 32 bits: each cell takes at least 15 of the block's
    // at most 2^32 bytes.
    constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
    std::vector<uint32_t> least(size + 1), most(size + 1);
    const auto reaches = [&](size_t i, uint64_t cells) {
        return least[i] != kNone && least[i] <= cells && cells <= most[i];
    };

    for (bool strict : {true, false}) {
        least[size] = most[size] = 0;
        size_t zero = size;  // the first NUL at or after i + 15, or size
        for (size_t i = size; i-- > 0;) {
            least[i] = kNone;
            most[i] = 0;
            if (i + kCellFixed > size) continue;
            if (i + kCellFixed < size && b[begin + i + kCellFixed] == 0) zero = i + kCellFixed;
            if (strict && !cell_in_range(b, begin + i)) continue;
            for (size_t next : {i + kCellFixed, zero < size ? zero + 1 : size + 1}) {
                if (next > size || least[next] == kNone) continue;
                least[i] = std::min(least[i], least[next] + 1);
                most[i] = std::max(most[i], most[next] + 1);
            }
        }
        if (!reaches(0, count)) continue;

        // The walk; `text` holds the move taken for each cell so far.
        std::vector<bool> text;
        text.reserve(count);
        std::vector<size_t> at{0};
        std::unordered_set<uint64_t> dead;  // (cells, position) pairs that lead nowhere
        uint64_t backtracks = 0;
        size_t last_zero = size, last_from = size + 1;  // a cache of the first NUL at or after a position
        const auto first_zero = [&](size_t from) {
            if (from >= size) return size;
            if (last_from <= from && from <= last_zero) return last_zero;
            const void* p = std::memchr(b.at(begin + from), 0, size - from);
            last_from = from;
            last_zero = p ? static_cast<size_t>(static_cast<const uint8_t*>(p) - b.at(begin)) : size;
            return last_zero;
        };
        // Takes the first move from `i` after `tried` moves (0: none tried
        // yet, 1: no text tried) that keeps the rest within bounds.
        const auto move = [&](size_t i, uint64_t left, int tried) -> int {
            if (i + kCellFixed > size) return 0;
            if (tried < 1 && reaches(i + kCellFixed, left) && !dead.count(left << 32 | (i + kCellFixed))) return 1;
            const size_t z = first_zero(i + kCellFixed);
            if (tried < 2 && z < size && reaches(z + 1, left) && !dead.count(left << 32 | (z + 1))) return 2;
            return 0;
        };
        std::vector<int> taken;
        int resume = 0;
        bool stuck = false;
        while (!stuck && text.size() < count) {
            const size_t i = at.back();
            const uint64_t left = count - text.size() - 1;
            const int m = move(i, left, resume);
            if (m == 0) {
                // A dead end: mark it and step back.
                if (text.empty()) {
                    stuck = true;
                    break;
                }
                if (++backtracks > 4'000'000)
                    throw DumpError{block.start, strf("the texts of the cells in inner block %zu of a TABLE cannot be "
                                                      "told apart within a reasonable effort",
                                                      n)};
                dead.insert((left + 1) << 32 | i);
                at.pop_back();
                text.pop_back();
                resume = taken.back();
                taken.pop_back();
                continue;
            }
            resume = 0;
            taken.push_back(m);
            text.push_back(m == 2);
            at.push_back(m == 1 ? i + kCellFixed : first_zero(i + kCellFixed) + 1);
        }
        if (!stuck && at.back() == size) return text;
    }
    throw DumpError{block.start, strf("inner block %zu of a TABLE cannot be split into %llu cells", n,
                                      static_cast<unsigned long long>(count))};
}

// The decoder's side of the record walk (format/codec.h): each block is
// checked against what the walk says it holds, and its fields are read into
// the record.
class Decoder {
public:
    Decoder(const Window& bytes, const RawRecord& raw, Record& rec) : bytes_(bytes), raw_(raw), rec_(rec) {}

    void least_blocks(size_t n) {
        if (raw_.inner.size() < n) expect_blocks(n);
    }
    void block_count(size_t n) {
        if (raw_.inner.size() == n) return;
        if (rec_.layout != Kind::Control) expect_blocks(n);
        expect_blocks(n, strf(" (%s)", format::kControlStyleWords.word(value_of(FieldId::ControlStyle))).c_str());
    }
    void unknown_style(uint32_t style) {
        throw DumpError{rec_.find(FieldId::ControlStyle)->offset,
                        strf("unknown control style %u (the styles are 0 to 4)", style)};
    }

    // A block of fixed fields holds exactly their bytes, `times` over; one
    // with a text or a bitmap is read to its end.
    void begin_block(size_t n, const BlockLayout& block, uint32_t times) {
        n_ = n;
        if (block.variable()) r_.emplace(open(n));
        else r_.emplace(fixed(n, size_t{times} * block.fixed_size(), block.what));
    }
    void end_block(size_t n, const BlockLayout& block) {
        finish(*r_, n, block.what);
        in_cells_ = false;
    }

    uint32_t number(FieldId id) const { return value_of(id); }

    // One field at the reader; a text or a bitmap takes the rest of the
    // block, except a cell's text, which the split of the cells places.
    void field(FieldId id, size_t index) {
        Reader& r = *r_;
        const char* key = format::statement(id);
        // The field is added before its value is read, so that its offset
        // is where the value starts.
        switch (format::field_info(id).encoding) {
        case Encoding::U8:
        case Encoding::Choice: {
            Field& f = add(id, r.pos());
            f.value = r.u8(key);
            return;
        }
        case Encoding::U16:
        case Encoding::S16:
        case Encoding::Boolean: {
            Field& f = add(id, r.pos());
            f.value = r.u16(key);
            return;
        }
        case Encoding::Word: {
            Field& f = add(id, r.pos());
            f.value = r.u32(key);
            return;
        }
        case Encoding::Bounds: {
            StoredBounds& b = add(id, r.pos()).bounds;
            b.x = static_cast<int16_t>(r.u16("bounds"));
            b.y = static_cast<int16_t>(r.u16("bounds"));
            b.width = static_cast<int16_t>(r.u16("bounds"));
            b.height = static_cast<int16_t>(r.u16("bounds"));
            return;
        }
        case Encoding::Bitmap: bitmap(r, id); return;
        case Encoding::Text:
            if (!in_cells_) text(r, id);
            else if (cell_texts_[index]) text_at(r, id);
            else add(id, r.pos());
            return;
        }
    }

    // Texts back to back, at most `count` of them, filling the rest.
    void texts(FieldId id, uint32_t count) {
        Reader& r = *r_;
        uint32_t seen = 0;
        while (!r.at_end()) {
            if (seen == count)
                throw DumpError{r.pos(), strf("inner block %zu of a %s holds more texts than the %u it declares",
                                              n_, kind(), count)};
            text_at(r, id);
            ++seen;
        }
    }

    // The cells block: which cells have a text comes from a split of the
    // whole block; room for every cell's fields and the attributes is
    // reserved at once, so that a large grid does not grow the field list
    // by doubling.
    uint64_t begin_cells(size_t n, const BlockLayout&, uint64_t count) {
        n_ = n;
        cell_texts_ = split_cells(bytes_, raw_.inner[n - 1], count, n);
        in_cells_ = true;
        rec_.fields.reserve(rec_.fields.size() + count * format::table_cell_fields().size() + 8);
        r_.emplace(open(n));
        return count;
    }
    void cleared_cells(uint64_t) {}

private:
    [[noreturn]] void expect_blocks(size_t n, const char* which = "") {
        throw DumpError{raw_.outer.start, strf("%s%s record has %zu inner blocks, its layout has %zu", kind(), which,
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

    // Checks that a block has been read to its end.
    void finish(const Reader& r, size_t n, const char* what) const {
        if (!r.at_end())
            throw DumpError{r.pos(), strf("inner block %zu of a %s (%s) has %zu byte%s after its content", n, kind(),
                                          what, r.left(), r.left() == 1 ? "" : "s")};
    }

    Field& add(FieldId id, size_t offset) {
        Field& f = rec_.fields.emplace_back();
        f.id = id;
        f.offset = offset;
        return f;
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
    // A text that is there: its bytes and one NUL.
    void text_at(Reader& r, FieldId id) {
        Field& f = add(id, r.pos());
        f.text = r.cstring(format::statement(id));
    }
    // A bitmap data block that fills the rest of the reader, or nothing.
    void bitmap(Reader& r, FieldId id) {
        BitmapView& bm = add(id, r.pos()).set_bitmap();
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

    const Window& bytes_;
    const RawRecord& raw_;
    Record& rec_;
    std::optional<Reader> r_;       // the block being read
    size_t n_ = 0;                  // its number, counted from 1
    bool in_cells_ = false;         // it is TABLE's cells block
    std::vector<bool> cell_texts_;  // there: which cells have a text
};

// Decodes the record's blocks by the layout of `kind` into rec.fields.
void decode_as(Record& rec, const Window& bytes, const RawRecord& raw, Kind kind) {
    rec.layout = kind;
    rec.fields.clear();
    Decoder d(bytes, raw, rec);
    format::code_record(d, kind);
}

}  // namespace

Record decode_record(const RawRecord& raw) {
    Record rec;
    decode_record(raw, rec);
    return rec;
}

void decode_record(const RawRecord& raw, Record& rec) {
    const Window bytes = raw.window();
    rec.offset = raw.offset;
    rec.end = raw.outer.end();
    rec.id = raw.id;
    const Block& first = raw.inner.front();
    if (first.content_size() != 1)
        throw DumpError{first.start, strf("inner block 1 holds %zu bytes, the object type block holds 1",
                                          first.content_size())};
    rec.type = bytes[first.content()];
    const format::KindInfo* kind = format::kind_of_code(rec.type);
    if (kind == nullptr)
        throw DumpError{first.content(), strf("unknown object type code %u (the codes are 0 to 11)", rec.type)};
    if (kind->kind != Kind::Form) {
        decode_as(rec, bytes, raw, kind->kind);
        return;
    }
    try {
        decode_as(rec, bytes, raw, Kind::Form);
    } catch (const DumpError& as_form) {
        // Code 0 is also what earlier compilers stored for a definition
        // without its OBJECT.TYPE= line, before that kind's own blocks. The
        // layouts differ in the number of blocks or in the size of a fixed
        // block, so at most one kind fits; the first that does is taken.
        for (const format::KindInfo& other : format::all_kinds()) {
            if (other.kind == Kind::Form) continue;
            try {
                decode_as(rec, bytes, raw, other.kind);
                return;
            } catch (const DumpError&) {
            }
        }
        throw as_form;
    }
    return;
}

std::vector<Record> decode_image(const Bytes& bytes) {
    ImageReader image;
    image.open_memory(bytes.data(), bytes.size());
    image.start();
    if (image.unfinished())
        throw DumpError{0, strf("total-length field is 0: the compiler stopped before it finished this file "
                                "(file size %zu)",
                                bytes.size())};
    std::vector<Record> records;
    walk_records(image, [&](Record& rec) { records.push_back(std::move(rec)); });
    return records;
}

}  // namespace orrinrc::dump
