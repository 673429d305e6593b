// Writing a record by its kind's block layout: the writer of each kind says
// where every field's value lives, the layout says in which order the fields
// are written and how they are framed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "output/resource_bin.h"
#include "format/format.h"

namespace orrinrc {

// The value of one field as a kind's record holds it: a number of any width
// (written at its field's width), or where the text, bounds or picture is.
// The field's encoding says which; a null text is none.
struct FieldValue {
    uint32_t number = 0;
    const void* at = nullptr;

    const Text* text() const { return static_cast<const Text*>(at); }
    const Bounds& bounds() const { return *static_cast<const Bounds*>(at); }
    const BitmapRecord& bitmap() const { return *static_cast<const BitmapRecord*>(at); }
};

inline FieldValue number_value_of(uint32_t v) { return FieldValue{v, nullptr}; }
inline FieldValue text_value_of(const Text& t) { return FieldValue{0, &t}; }
inline FieldValue bounds_value_of(const Bounds& b) { return FieldValue{0, &b}; }
inline FieldValue bitmap_value_of(const BitmapRecord& b) { return FieldValue{0, &b}; }

// A kind's source of values is a function FieldValue(const Ctx& records,
// format::FieldId id, size_t index): the value of `id` in the record being
// written, `index` counting the entries of a list (0 for a single field). An entry beyond
// the stored list is 0 or none. It is a template argument, so that each
// kind's writer gets its lookups inlined.

// The layout tables are constant expressions: the writers below are unrolled
// from them when the program is built, so that every kind's writer is as
// direct as one written out by hand, with the field order kept in one place.

// Writes field `Id` (a text list whole) from `source`.
template <auto source, format::FieldId Id, typename Ctx>
inline void write_field(BinWriter& w, const Ctx& ctx, size_t index) {
    using format::Encoding;
    constexpr const format::FieldInfo& info = format::field_info(Id);
    if constexpr (info.encoding == Encoding::U8 || info.encoding == Encoding::Choice) {
        write_u8(w, source(ctx, Id, index).number);
    } else if constexpr (info.encoding == Encoding::U16 || info.encoding == Encoding::S16 ||
                         info.encoding == Encoding::Boolean) {
        write_u16(w, source(ctx, Id, index).number);
    } else if constexpr (info.encoding == Encoding::Word) {
        write_u32(w, source(ctx, Id, index).number);
    } else if constexpr (info.encoding == Encoding::Bounds) {
        write_bounds(w, source(ctx, Id, index).bounds());
    } else if constexpr (info.encoding == Encoding::Bitmap) {
        write_bitmap_block(w, source(ctx, Id, index).bitmap());
    } else if constexpr (info.count == format::FieldId::None) {
        if (const Text* text = source(ctx, Id, index).text()) write_cstring(w, *text);
    } else {
        // A list of texts: as many as its count says; entries never given
        // are none and write nothing.
        for (size_t i = 0, n = source(ctx, info.count, 0).number; i < n; ++i)
            if (const Text* text = source(ctx, Id, i).text()) write_cstring(w, *text);
    }
}

// One pass over the fields of block `I` of a layout (see write_block).
template <auto source, format::Kind K, int Style, size_t I, typename Ctx, size_t... J>
inline void write_block_fields(BinWriter& w, const Ctx& ctx, size_t index, std::index_sequence<J...>) {
    constexpr const format::BlockLayout& block = format::layout_blocks(K, Style)[I];
    (write_field<source, block.fields[J]>(w, ctx, index), ...);
}

// Block `I` of the layout of kind `K` (of control style `Style`, when it is
// 0..4): opens it, then writes its fields, as many times as its repeat
// field says; a special block is left to `special`.
template <auto source, format::Kind K, int Style, size_t I, typename Ctx, typename Special>
inline void write_block(BinWriter& w, const Ctx& ctx, RecordFrame& frame, Special& special) {
    constexpr const format::BlockLayout& block = format::layout_blocks(K, Style)[I];
    next_inner_block(w, frame);
    if constexpr (block.special) {
        special(block);
    } else {
        size_t times = 1;
        if constexpr (block.repeat != format::FieldId::None) times = source(ctx, block.repeat, 0).number;
        for (size_t i = 0; i < times; ++i)
            write_block_fields<source, K, Style, I>(
                w, ctx, i, std::make_index_sequence<format::layout_blocks(K, Style)[I].field_count>{});
    }
}

// A block that its kind writes by hand gets the block's layout.
inline void no_special_block(const format::BlockLayout&) {}

// Writes the blocks of kind `K` after the current inner block of `frame`
// (for CONTROL with `Style` 0..4: the blocks of that style).
template <auto source, format::Kind K, int Style = -1, typename Ctx,
          typename Special = void (*)(const format::BlockLayout&)>
void write_blocks(BinWriter& w, const Ctx& ctx, RecordFrame& frame, Special&& special = no_special_block) {
    [&]<size_t... I>(std::index_sequence<I...>) {
        (write_block<source, K, Style, I>(w, ctx, frame, special), ...);
    }(std::make_index_sequence<format::layout_blocks(K, Style).size()>{});
}

// A whole record of kind `K`: the identifier, the kind's own type code (the
// same whether or not the definition had its OBJECT.TYPE= line), and every
// block of its layout.
template <auto source, format::Kind K, typename Ctx, typename Special = void (*)(const format::BlockLayout&)>
void write_record(BinWriter& w, const Ctx& ctx, uint16_t id, Special&& special = no_special_block) {
    RecordFrame frame = begin_record(w, id, format::type_code(K));
    write_blocks<source, K>(w, ctx, frame, special);
    end_record(w, frame);
}

}  // namespace orrinrc
