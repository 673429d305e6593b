// Writing records from their block layout.
#include "driver/record_writer.h"

namespace orrinrc {

using orrinrc::format::BlockSpec;
using orrinrc::format::Encoding;
using orrinrc::format::FieldId;
using orrinrc::format::FieldSpec;

namespace {

const Text kNoText;

void write_field(BinWriter& w, const FieldSpec& spec, FieldSource source, size_t index) {
    switch (spec.encoding) {
    case Encoding::U8:
    case Encoding::Choice: write_u8(w, source(spec.id, index).number); break;
    case Encoding::U16:
    case Encoding::S16:
    case Encoding::Boolean: write_u16(w, source(spec.id, index).number); break;
    case Encoding::Word: write_u32(w, source(spec.id, index).number); break;
    case Encoding::Bounds: write_bounds(w, *source(spec.id, index).bounds); break;
    case Encoding::Bitmap: write_bitmap_block(w, *source(spec.id, index).bitmap); break;
    case Encoding::Text:
        if (spec.count == FieldId::None) {
            const Text* text = source(spec.id, index).text;
            write_cstring(w, text ? *text : kNoText);
            break;
        }
        // A list of texts: as many as its count says; entries never given
        // are none and write nothing.
        for (size_t i = 0, n = source(spec.count, 0).number; i < n; ++i) {
            const Text* text = source(spec.id, i).text;
            if (text) write_cstring(w, *text);
        }
        break;
    }
}

}  // namespace

void write_blocks(BinWriter& w, RecordFrame& frame, std::span<const BlockSpec> blocks, FieldSource source,
                  SpecialBlockWriter special) {
    for (const BlockSpec& block : blocks) {
        next_inner_block(w, frame);
        if (block.special) {
            special(w, frame, block);
            continue;
        }
        const size_t times = block.repeat == FieldId::None ? 1 : source(block.repeat, 0).number;
        for (size_t i = 0; i < times; ++i)
            for (FieldId id : block.field_list()) write_field(w, orrinrc::format::field_spec(id), source, i);
    }
}

void write_record(BinWriter& w, orrinrc::format::Kind kind, uint16_t id, FieldSource source,
                  SpecialBlockWriter special) {
    // The type code is the kind's own, whether or not the definition had its
    // OBJECT.TYPE= line.
    RecordFrame frame = begin_record(w, id, orrinrc::format::type_code(kind));
    write_blocks(w, frame, orrinrc::format::record_blocks(kind).subspan(1), source, special);
    end_record(w, frame);
}

}  // namespace orrinrc
