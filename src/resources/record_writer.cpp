// The writer's side of the record walk for the blocks written at run time:
// FORM's bitmap, CONTROL's subtype and style blocks, TABLE's cells.
#include "resources/record_writer.h"

#include <algorithm>
#include <cstring>

#include "format/codec.h"
#include "util/error.h"
#include "util/strf.h"

namespace orrinrc {

namespace {

using format::BlockLayout;
using format::Encoding;
using format::FieldId;

// Bytes that write_cstring writes for a text: up to its first NUL, and one NUL.
uint64_t text_bytes(const Text* text) { return text && *text ? std::strlen((*text)->c_str()) + 1 : 0; }

// The writer as the walk's coder: each block is the record's next inner
// block, each field goes out at its encoding's width.
class RecordWriter {
public:
    RecordWriter(BinWriter& w, const Records& records, format::Kind kind, FieldSource source, uint64_t outer,
                 uint64_t stored_cells)
        : w_(w), records_(records), kind_(kind), source_(source), outer_(outer), stored_cells_(stored_cells) {}

    // The blocks are framed as they are written: nothing to check.
    void least_blocks(size_t) {}
    void block_count(size_t) {}
    void unknown_style(uint32_t style) { raise(unknown_control_style_error(style)); }

    // A block of fixed fields has its length written first; the length of
    // one with a text or a bitmap (or of the cells) after its content.
    void begin_block(size_t, const BlockLayout& block, uint32_t times) {
        open_ = block.variable();
        if (open_) start_ = open_block(w_);
        else put(4, static_cast<uint32_t>(4 + size_t{times} * block.fixed_size()));
    }
    void end_block(size_t, const BlockLayout&) {
        if (open_) close_block(w_, start_);
    }

    uint32_t number(FieldId id) const { return value(id, 0).number; }

    // Numbers go straight into the buffer: this one place writes every
    // field of the blocks walked at run time, a table's cells among them.
    void field(FieldId id, size_t index) {
        const FieldValue v = value(id, index);
        switch (format::field_info(id).encoding) {
        case Encoding::U8:
        case Encoding::Choice: put(1, v.number); break;
        case Encoding::U16:
        case Encoding::S16:
        case Encoding::Boolean: put(2, v.number); break;
        case Encoding::Word: put(4, v.number); break;
        case Encoding::Bounds: write_bounds(w_, v.bounds()); break;
        case Encoding::Bitmap: write_bitmap_block(w_, v.bitmap()); break;
        case Encoding::Text:
            if (const Text* text = v.text()) write_cstring(w_, *text);
            break;
        }
    }

    // Entries never given are none and write nothing.
    void texts(FieldId id, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            if (const Text* text = value(id, i).text()) write_cstring(w_, *text);
    }

    // The stored cells inside the grid are written one by one. A grid too
    // large for the 32-bit block lengths is refused before its gigabytes are
    // written: the outer block ends after the cells and the blocks that
    // follow them, whose sizes are fixed.
    uint64_t begin_cells(size_t, const BlockLayout& block, uint64_t count) {
        open_ = true;
        start_ = open_block(w_);
        const uint64_t given = std::min(count, stored_cells_);
        uint64_t bytes = count * format::kCellFixedBytes;
        for (uint64_t i = 0; i < given; ++i) bytes += text_bytes(value(FieldId::CellText, i).text());
        const std::span<const BlockLayout> blocks = format::record_blocks(kind_);
        for (const BlockLayout* after = &block + 1; after < blocks.data() + blocks.size(); ++after)
            bytes += 4 + after->fixed_size();
        check_block_length(outer_, (w_.pos() - outer_) + bytes);
        return given;
    }

    // Grid positions that no cell line filled: cleared cells without text,
    // written in chunks so that a large grid streams out in flat memory.
    void cleared_cells(uint64_t count) {
        static const uint8_t zeros[format::kCellFixedBytes * 1024] = {};
        while (count > 0) {
            const uint64_t n = std::min<uint64_t>(count, 1024);
            write_bytes(w_, zeros, static_cast<size_t>(n * format::kCellFixedBytes));
            count -= n;
        }
    }

private:
    // `width` bytes of `v`, little-endian.
    void put(size_t width, uint32_t v) {
        uint8_t* at = w_.buf.grow(width);
        for (size_t i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
    }

    FieldValue value(FieldId id, size_t index) const {
        const FieldValue v = source_(records_, id, index);
        if (!v.answered) field_not_answered(kind_, id);
        return v;
    }

    BinWriter& w_;
    const Records& records_;
    format::Kind kind_;
    FieldSource source_;
    uint64_t outer_;  // the record's outer block
    uint64_t stored_cells_;
    bool open_ = false;   // the block being written has its length filled in at its end
    uint64_t start_ = 0;  // where that block starts
};

}  // namespace

Error unknown_control_style_error(uint32_t style) {
    Error e;
    e.kind = ErrorKind::UnknownControlStyle;
    e.message = strf("write_control unknown style %i\n", static_cast<int>(style));
    e.stream = Stream::Err;
    return e;
}

void field_not_answered(format::Kind kind, FieldId id) {
    Error e;
    e.kind = ErrorKind::Internal;
    e.message = strf("internal error: the %s writer has no value for %s (field %u)\n", format::kind_keyword(kind),
                     format::statement(id), static_cast<unsigned>(id));
    e.stream = Stream::Err;
    raise(std::move(e));
}

void write_special_block(BinWriter& w, const Records& records, format::Kind kind, FieldSource source,
                         uint64_t outer, size_t n, const BlockLayout& block, uint64_t stored_cells) {
    RecordWriter writer(w, records, kind, source, outer, stored_cells);
    format::code_any_block(writer, n, block);
}

void write_style_blocks(BinWriter& w, const Records& records, FieldSource source, uint64_t outer, size_t common) {
    RecordWriter writer(w, records, format::Kind::Control, source, outer, 0);
    format::code_style_blocks(writer, common);
}

}  // namespace orrinrc
