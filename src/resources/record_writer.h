// Writing a record in the order of the record walk (format/codec.h), with
// the values asked of the kind's value function. The regular blocks of a
// kind's table are written by code unrolled from the table at build time;
// the special blocks and a control's style blocks go through the walk that
// the dump tool's decoder uses too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "format/format.h"
#include "output/resource_bin.h"

namespace orrinrc {

struct Records;

// The value of one field as a kind's record holds it: a number of any width
// (written at its field's width), or where the text, bounds or picture is.
// The field's encoding says which; a null text is none. A value that no
// case of the value function gave (`answered` false, as a default-made one
// is) is a field the kind forgot: the writer stops the run rather than write
// it as zero.
struct FieldValue {
    uint32_t number = 0;
    bool answered = false;
    const void* at = nullptr;

    const Text* text() const { return static_cast<const Text*>(at); }
    const Bounds& bounds() const { return *static_cast<const Bounds*>(at); }
    const BitmapRecord& bitmap() const { return *static_cast<const BitmapRecord*>(at); }
};

inline FieldValue number_value_of(uint32_t v) { return FieldValue{v, true, nullptr}; }
inline FieldValue text_value_of(const Text& t) { return FieldValue{0, true, &t}; }
inline FieldValue bounds_value_of(const Bounds& b) { return FieldValue{0, true, &b}; }
inline FieldValue bitmap_value_of(const BitmapRecord& b) { return FieldValue{0, true, &b}; }
// An entry of a text list that has no storage: none, which writes nothing.
inline FieldValue no_text() { return FieldValue{0, true, nullptr}; }
// The answer for a field that the kind's record does not have.
inline FieldValue no_such_field() { return FieldValue{}; }

// A kind's value function: the value of `id` in the record being written,
// `index` counting the entries of a list or the cells of a table (0 for a
// single field). An entry beyond the stored list is 0 or none. Its switch
// ends in `default: return no_such_field();`.
using FieldSource = FieldValue (*)(const Records& records, format::FieldId id, size_t index);

// The error of a control whose style has no layout (outside 0..4).
Error unknown_control_style_error(uint32_t style);
// The internal error of a field that the kind's value function does not answer.
[[noreturn]] void field_not_answered(format::Kind kind, format::FieldId id);

// The blocks that the writer walks at run time: a special block (block `n`
// of the record) and a control's style blocks after its `common` ones.
// `stored_cells` is for TABLE: the cells that the record holds.
// `outer` is the record's outer block.
void write_special_block(BinWriter& w, const Records& records, format::Kind kind, FieldSource source,
                         uint64_t outer, size_t n, const format::BlockLayout& block, uint64_t stored_cells);
void write_style_blocks(BinWriter& w, const Records& records, FieldSource source, uint64_t outer, size_t common);

namespace record_writing {

using format::Encoding;
using format::FieldId;
using format::Kind;

template <FieldSource source, Kind K>
inline FieldValue value(const Records& records, FieldId id, size_t index) {
    const FieldValue v = source(records, id, index);
    if (!v.answered) field_not_answered(K, id);
    return v;
}

// Field `Id` of entry `index`; a text list whole, as many texts as its
// counting field says (entries never given are none and write nothing).
template <FieldSource source, Kind K, FieldId Id>
inline void write_field(BinWriter& w, const Records& records, size_t index) {
    constexpr const format::FieldInfo& info = format::field_info(Id);
    constexpr Encoding e = info.encoding;
    if constexpr (e == Encoding::U8 || e == Encoding::Choice) {
        write_u8(w, value<source, K>(records, Id, index).number);
    } else if constexpr (e == Encoding::U16 || e == Encoding::S16 || e == Encoding::Boolean) {
        write_u16(w, value<source, K>(records, Id, index).number);
    } else if constexpr (e == Encoding::Word) {
        write_u32(w, value<source, K>(records, Id, index).number);
    } else if constexpr (e == Encoding::Bounds) {
        write_bounds(w, value<source, K>(records, Id, index).bounds());
    } else if constexpr (e == Encoding::Bitmap) {
        write_bitmap_block(w, value<source, K>(records, Id, index).bitmap());
    } else if constexpr (info.count == FieldId::None) {
        if (const Text* text = value<source, K>(records, Id, index).text()) write_cstring(w, *text);
    } else {
        for (size_t i = 0, n = value<source, K>(records, info.count, 0).number; i < n; ++i)
            if (const Text* text = value<source, K>(records, Id, i).text()) write_cstring(w, *text);
    }
}

template <FieldSource source, Kind K, size_t I, size_t... J>
inline void write_fields(BinWriter& w, const Records& records, size_t index, std::index_sequence<J...>) {
    constexpr const format::BlockLayout& block = format::kRecordBlocks[format::type_code(K)][I];
    (write_field<source, K, block.fields[J]>(w, records, index), ...);
}

// Block I of kind K's table: its fields, as often as its repeat field says.
// A block of fixed fields has its length written first; the length of one
// with a text or a bitmap is filled in after its content.
template <FieldSource source, Kind K, size_t I>
inline void write_block(BinWriter& w, const Records& records, uint64_t outer, uint64_t stored_cells) {
    constexpr const format::BlockLayout& block = format::kRecordBlocks[format::type_code(K)][I];
    if constexpr (block.special != format::kRegularBlock) {
        write_special_block(w, records, K, source, outer, I + 1, block, stored_cells);
    } else {
        size_t times = 1;
        if constexpr (block.repeat != FieldId::None) times = value<source, K>(records, block.repeat, 0).number;
        uint64_t start = 0;
        if constexpr (block.variable()) start = open_block(w);
        else write_u32(w, static_cast<uint32_t>(4 + times * block.fixed_size()));
        for (size_t i = 0; i < times; ++i)
            write_fields<source, K, I>(
                w, records, i, std::make_index_sequence<format::kRecordBlocks[format::type_code(K)][I].field_count>{});
        if constexpr (block.variable()) close_block(w, start);
    }
}

}  // namespace record_writing

// Writes a whole record of kind `K` with the values of `source`: the
// identifier, the kind's own type code (the same whether or not the
// definition had its OBJECT.TYPE= line), and every block. `stored_cells`
// is for TABLE: the cells that the record holds, of which those inside the
// grid are written one by one and the grid positions after them as cleared
// cells. A field that `source` does not answer raises an internal error.
template <FieldSource source, format::Kind K>
void write_record(BinWriter& w, const Records& records, uint16_t id, uint64_t stored_cells = 0) {
    constexpr size_t count = format::kRecordBlocks[format::type_code(K)].size();
    const RecordFrame frame = begin_record(w, id, format::type_code(K));
    close_block(w, frame.inner);
    [&]<size_t... I>(std::index_sequence<I...>) {
        (record_writing::write_block<source, K, I + 1>(w, records, frame.outer, stored_cells), ...);
    }(std::make_index_sequence<count - 1>{});
    if constexpr (K == format::Kind::Control) write_style_blocks(w, records, source, frame.outer, count);
    close_block(w, frame.outer);
}

}  // namespace orrinrc
