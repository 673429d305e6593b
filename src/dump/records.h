// The records of a resource.bin image decoded into fields. Each field is
// one field of the format (its identifier names the statement that sets
// it), and the fields of a record come in an order in which those
// statements can be written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dump/container.h"
#include "format/format.h"
#include "format/pixels.h"

namespace orrinrc::dump {

using format::Encoding;
using format::FieldId;

// A stored bitmap data block.
struct BitmapView {
    bool present = false;
    size_t offset = 0;  // first byte of the 12-byte header
    int16_t x = 0, y = 0, width = 0, height = 0;
    uint8_t reserved = 0;
    uint8_t depth = 0;
    uint16_t size = 0;
    size_t padding = 0;         // zero bytes between header and data
    bool padding_zero = true;   // whether they are all zero
    std::vector<uint32_t> words;

    // Words per row that the compiler derives from width and depth.
    long words_per_row() const { return format::words_per_row(width, depth); }

    // Whether the stored data holds every pixel of its declared rectangle:
    // depth 2 or 4, width and height above 0, and height rows of the
    // compiler's words per row. Otherwise sets `why`.
    bool drawable(std::string& why) const;

    // The grey value (0..2^depth-1) of a pixel of a drawable bitmap,
    // counting every position of a row's words (also those beyond the
    // declared width).
    unsigned pixel(long row, long column) const {
        return format::pixel_value(&words[static_cast<size_t>(row * words_per_row())], static_cast<uint64_t>(column),
                                   depth);
    }
};

struct StoredBounds {
    int16_t x = 0, y = 0, width = 0, height = 0;
};

struct Field {
    FieldId id = FieldId::None;
    size_t offset = 0;  // file offset of the stored value
    uint32_t value = 0;
    std::optional<std::string> text;
    StoredBounds bounds;
    // The picture of a bitmap field, apart so that the many other fields of
    // a record (a table's cells) stay small; null for other fields.
    std::shared_ptr<BitmapView> picture;

    // The stored picture (an empty one when the field has none).
    const BitmapView& bitmap() const;
    // The picture to fill in, made on first use.
    BitmapView& set_bitmap();

    const format::FieldInfo& info() const { return format::field_info(id); }
    Encoding encoding() const { return info().encoding; }
    // The statement that sets the field: "FORM_STYLE=", "BOUNDS.".
    const char* key() const { return info().statement; }
    // The signed value of a number field.
    long number() const;
};

struct Record {
    size_t offset = 0;  // of the identifier
    size_t end = 0;     // just past the record
    uint16_t id = 0;
    uint8_t type = 0;   // the stored object type code: one that names a kind
    // The kind whose layout the record has. It is the kind of `type`, except
    // for a record written without its OBJECT.TYPE= line by an earlier
    // compiler: that stored 0 (a form's code) before another kind's blocks.
    format::Kind layout = format::Kind::Form;
    std::vector<Field> fields;

    format::Kind kind() const { return layout; }
    const char* keyword() const { return format::kind_keyword(layout); }
    // Whether the stored code is 0 while the blocks are another kind's.
    bool type_missing() const { return type != format::type_code(layout); }
    // The first field with this identifier, or nullptr.
    const Field* find(FieldId id) const;
};

// Decodes one framed record, checking the number and sizes of its inner
// blocks against its kind's layout. A record with type code 0 whose blocks
// do not fit a form's layout is decoded by the one other kind whose layout
// they fit. Throws DumpError.
Record decode_record(const RawRecord& raw);
// The same into `rec`, reusing its storage.
void decode_record(const RawRecord& raw, Record& rec);

// Walks the records of an image whose total-length field has been read
// (ImageReader::start), in file order, calling `each` with every decoded
// record; only one record is held at a time. Throws DumpError at the first
// fault.
template <typename F>
void walk_records(ImageReader& image, F&& each) {
    RawRecord raw;
    Record rec;
    while (image.next(raw)) {
        decode_record(raw, rec);
        each(rec);
    }
}

// Every record of a finished image in memory (for tests and small images);
// an unfinished one (total-length field 0) is a fault.
std::vector<Record> decode_image(const Bytes& bytes);

}  // namespace orrinrc::dump
