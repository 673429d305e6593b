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

// The value of one field as a kind's record holds it. Numbers of every
// width are carried in `number` and written at their field's width; a null
// text is none.
struct FieldValue {
    uint32_t number = 0;
    const Text* text = nullptr;
    const Bounds* bounds = nullptr;
    const BitmapRecord* bitmap = nullptr;
};

inline FieldValue number_value_of(uint32_t v) { return FieldValue{v, nullptr, nullptr, nullptr}; }
inline FieldValue text_value_of(const Text& t) { return FieldValue{0, &t, nullptr, nullptr}; }
inline FieldValue bounds_value_of(const Bounds& b) { return FieldValue{0, nullptr, &b, nullptr}; }
inline FieldValue bitmap_value_of(const BitmapRecord& b) { return FieldValue{0, nullptr, nullptr, &b}; }

// The value of `id` in the record being written; `index` counts the entries
// of a list (0 for a single field). An entry beyond the stored list is 0 or
// none.
using FieldSource = FieldValue (*)(orrinrc::format::FieldId id, size_t index);

// The content of a block that its kind writes by hand.
using SpecialBlockWriter = void (*)(BinWriter& w, const RecordFrame& frame, const orrinrc::format::BlockSpec& block);

// Writes the blocks after the current inner block of `frame`, in order:
// each opens with next_inner_block, then holds its fields (as many times as
// its repeat field says).
void write_blocks(BinWriter& w, RecordFrame& frame, std::span<const orrinrc::format::BlockSpec> blocks,
                  FieldSource source, SpecialBlockWriter special = nullptr);

// A whole record of `kind`: the identifier, the kind's own type code, and
// every block of its layout.
void write_record(BinWriter& w, orrinrc::format::Kind kind, uint16_t id, FieldSource source,
                  SpecialBlockWriter special = nullptr);

}  // namespace orrinrc
