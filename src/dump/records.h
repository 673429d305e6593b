// The records of a resource.bin image decoded into fields. Each field is
// one field of the format (its identifier names the statement that sets
// it), and the fields of a record come in an order in which those
// statements can be written back.
#pragma once

#include <cstddef>
#include <cstdint>
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
    BitmapView bitmap;

    const format::FieldSpec& spec() const { return format::field_spec(id); }
    Encoding encoding() const { return spec().encoding; }
    // The statement that sets the field: "FORM_STYLE=", "BOUNDS.".
    const char* key() const { return spec().statement; }
    // The signed value of a number field.
    long number() const;
};

struct Record {
    size_t offset = 0;  // of the identifier
    size_t end = 0;     // just past the record
    uint16_t id = 0;
    uint8_t type = 0;   // a code that names a kind: decoding refuses others
    std::vector<Field> fields;

    format::Kind kind() const { return static_cast<format::Kind>(type); }
    const char* keyword() const { return format::kind_keyword(type); }
    // The first field with this identifier, or nullptr.
    const Field* find(FieldId id) const;
};

// Decodes one framed record, checking the number and sizes of its inner
// blocks against its kind's layout. Throws DumpError.
Record decode_record(const Bytes& bytes, const RawRecord& raw);

// Walks a whole image: total length, then every record in file order.
// Calls `each` with every decoded record; throws DumpError at the first fault.
template <typename F>
void walk_image(const Bytes& bytes, F&& each) {
    const size_t end = check_total_length(bytes);
    size_t at = 4;
    while (at < end) {
        const RawRecord raw = read_raw_record(bytes, at, end);
        Record rec = decode_record(bytes, raw);
        at = rec.end;
        each(rec);
    }
}

std::vector<Record> decode_image(const Bytes& bytes);

}  // namespace orrinrc::dump
