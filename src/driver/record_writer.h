// Writing a record by its kind's block layout: the writer of each kind says
// where every field's value lives, the layout says in which order the fields
// are written and how they are framed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "driver/resource_bin.h"
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

// A kind's source of values is a function FieldValue(format::FieldId id,
// size_t index): the value of `id` in the record being written, `index`
// counting the entries of a list (0 for a single field). An entry beyond
// the stored list is 0 or none. It is a template argument, so that each
// kind's writer gets its lookups inlined.

// A block that its kind writes by hand: void(const format::BlockSpec&).
inline void no_special_block(const format::BlockSpec&) {}

// Writes one field (a text list whole) from `source`.
template <auto source>
void write_field(BinWriter& w, const format::FieldSpec& spec, size_t index) {
    using format::Encoding;
    switch (spec.encoding) {
    case Encoding::U8:
    case Encoding::Choice: write_u8(w, source(spec.id, index).number); break;
    case Encoding::U16:
    case Encoding::S16:
    case Encoding::Boolean: write_u16(w, source(spec.id, index).number); break;
    case Encoding::Word: write_u32(w, source(spec.id, index).number); break;
    case Encoding::Bounds: write_bounds(w, source(spec.id, index).bounds()); break;
    case Encoding::Bitmap: write_bitmap_block(w, source(spec.id, index).bitmap()); break;
    case Encoding::Text:
        if (spec.count == format::FieldId::None) {
            if (const Text* text = source(spec.id, index).text()) write_cstring(w, *text);
            break;
        }
        // A list of texts: as many as its count says; entries never given
        // are none and write nothing.
        for (size_t i = 0, n = source(spec.count, 0).number; i < n; ++i)
            if (const Text* text = source(spec.id, i).text()) write_cstring(w, *text);
        break;
    }
}

// Writes the blocks after the current inner block of `frame`, in order:
// each opens with next_inner_block, then holds its fields (as many times as
// its repeat field says); a special block is left to `special`.
template <auto source, typename Special = void (*)(const format::BlockSpec&)>
void write_blocks(BinWriter& w, RecordFrame& frame, std::span<const format::BlockSpec> blocks,
                  Special&& special = no_special_block) {
    for (const format::BlockSpec& block : blocks) {
        next_inner_block(w, frame);
        if (block.special) {
            special(block);
            continue;
        }
        const size_t times = block.repeat == format::FieldId::None ? 1 : source(block.repeat, 0).number;
        for (size_t i = 0; i < times; ++i)
            for (format::FieldId id : block.field_list()) write_field<source>(w, format::field_spec(id), i);
    }
}

// A whole record of `kind`: the identifier, the kind's own type code (the
// same whether or not the definition had its OBJECT.TYPE= line), and every
// block of its layout.
template <auto source, typename Special = void (*)(const format::BlockSpec&)>
void write_record(BinWriter& w, format::Kind kind, uint16_t id, Special&& special = no_special_block) {
    RecordFrame frame = begin_record(w, id, format::type_code(kind));
    write_blocks<source>(w, frame, format::record_blocks(kind).subspan(1), special);
    end_record(w, frame);
}

}  // namespace orrinrc
