// The walk of one record, shared by the compiler's writer and the dump
// tool's decoder: how a record's inner blocks follow each other, and every
// decision that depends on a value stored earlier in the record: how often
// a block's fields repeat, how many texts a list holds, whether FORM's
// bitmap block holds the picture, whether CONTROL stores a subtype and which
// style blocks follow the common ones, and how many cells TABLE's cells
// block holds. The coder, the writer's or the decoder's, moves the bytes:
//
//   c.least_blocks(count)     the record has at least `count` inner blocks
//   c.block_count(count)      it has exactly `count` (once that is known)
//   c.unknown_style(style)    a control's style has no blocks (the coder
//                             raises; the walk ends)
//   c.begin_block(n, block, times)   inner block n (counted from 1, the object
//                             type block being 1) holds `block`'s fields
//                             `times` over
//   c.field(id, index)        one field, of entry `index` of a list
//   c.texts(id, count)        a list of at most `count` texts
//   c.number(id) -> number    a number coded earlier in the record
//   c.begin_cells(n, block, count) -> given   TABLE's cells block of `count`
//                             cells; the first `given` are coded field by
//                             field, their texts last
//   c.cleared_cells(count)    the rest, cleared, without texts
//   c.end_block(n, block)
//
// The object type block is the coder's own (it decides the kind). The
// decoder walks whole records with code_record; the writer writes the
// regular blocks of a kind's table directly and walks the special blocks
// and a control's style blocks with the same code as the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "format/format.h"

namespace orrinrc::format {

// A regular block: its fields, as often as its repeat field says; a text
// list whole, with the count that its counting field holds.
template <typename Coder>
void code_block(Coder& c, size_t n, const BlockLayout& block) {
    const uint32_t times = block.repeat == FieldId::None ? 1 : c.number(block.repeat);
    c.begin_block(n, block, times);
    for (uint32_t i = 0; i < times; ++i) {
        for (FieldId id : block.field_list()) {
            const FieldId count = field_info(id).count;
            if (count != FieldId::None) c.texts(id, c.number(count));
            else c.field(id, i);
        }
    }
    c.end_block(n, block);
}

// TABLE's cells: rows x columns of them, each its fixed fields and then its
// text. The coder says how many it codes one by one; the rest are cleared
// cells, which a large grid has by the million.
template <typename Coder>
void code_cells(Coder& c, size_t n, const BlockLayout& block) {
    const uint64_t count = uint64_t{c.number(FieldId::TableRows)} * c.number(FieldId::TableColumns);
    const uint64_t given = c.begin_cells(n, block, count);
    for (uint64_t i = 0; i < given; ++i)
        for (FieldId id : table_cell_fields()) c.field(id, i);
    c.cleared_cells(count - given);
    c.end_block(n, block);
}

// Any block of a kind's table: a special one holds what the values before
// it say.
template <typename Coder>
void code_any_block(Coder& c, size_t n, const BlockLayout& block) {
    switch (block.special) {
    case kRegularBlock: code_block(c, n, block); return;
    case kFormBitmapBlock: code_block(c, n, form_bitmap_block(c.number(FieldId::FormStyle))); return;
    case kControlSubtypeBlock: code_block(c, n, control_subtype_block(c.number(FieldId::ControlStyle))); return;
    case kTableCellsBlock: code_cells(c, n, block); return;
    }
}

// A control's style blocks, which follow its `common` blocks; a style that
// has none is the coder's to refuse.
template <typename Coder>
void code_style_blocks(Coder& c, size_t common) {
    const uint32_t style = c.number(FieldId::ControlStyle);
    const std::span<const BlockLayout> own = control_style_blocks(style);
    if (own.empty()) c.unknown_style(style);
    for (size_t i = 0; i < own.size(); ++i) code_block(c, common + i + 1, own[i]);
}

// The blocks of a record of `kind` after its object type block. A control's
// style, coded in one of its common blocks, chooses the blocks after them;
// every style has at least one, and the count is checked as soon as the
// style is known.
template <typename Coder>
void code_record(Coder& c, Kind kind) {
    const std::span<const BlockLayout> blocks = record_blocks(kind);
    if (kind != Kind::Control) {
        c.block_count(blocks.size());
        for (size_t i = 1; i < blocks.size(); ++i) code_any_block(c, i + 1, blocks[i]);
        return;
    }
    c.least_blocks(blocks.size() + 1);
    for (size_t i = 1; i < blocks.size(); ++i) {
        code_any_block(c, i + 1, blocks[i]);
        if (blocks[i].fields[0] != FieldId::ControlStyle) continue;
        const uint32_t style = c.number(FieldId::ControlStyle);
        const size_t own = control_style_blocks(style).size();
        if (own == 0) {
            c.unknown_style(style);
            return;
        }
        c.block_count(blocks.size() + own);
    }
    code_style_blocks(c, blocks.size());
}

}  // namespace orrinrc::format
