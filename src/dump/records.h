// The records of a resource.bin image decoded into named fields. Each field
// carries the resource-language statement that sets it ("FIELD_FONT=",
// "BOUNDS.", "FORM_BITMAP."), and the fields of a record come in an order in
// which those statements can be written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dump/container.h"

// The words that a keyword value takes, indexed by the stored code. With
// `number_fallback` the language also accepts a plain number for the field
// (the keyword states with a numeric fallback).
struct Words {
    const char* const* names;
    size_t count;
    bool number_fallback;

    // The word of a code, or nullptr when the code has none.
    const char* name(uint32_t code) const { return code < count ? names[code] : nullptr; }
};

extern const Words kObjectTypeWords;
extern const Words kColorWords;
extern const Words kFontWords;
extern const Words kAlignmentWords;
extern const Words kFormStyleWords;
extern const Words kControlStyleWords;
extern const Words kBackLineWords;
extern const Words kScrollbarStyleWords;
extern const Words kScrollbarTypeWords;
extern const Words kLineStyleWords;
extern const Words kDataTypeWords;

// The object type code's keyword ("FORM" ... "LINE"), or nullptr.
const char* kind_keyword(uint32_t type);

enum ObjectType : uint8_t {
    kForm = 0, kControl, kField, kList, kMenu, kScrollbar, kTable, kSchline, kString, kBitmap, kTextbox, kLine,
};

enum ControlStyle : uint8_t { kButton = 0, kPushButton, kRepeatButton, kCheckbox, kPopupTrigger };

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
    long words_per_row() const { return (long{width} * depth + 31) / 32; }
};

struct StoredBounds {
    int16_t x = 0, y = 0, width = 0, height = 0;
};

enum class FieldType {
    Number,   // an 8- or 16-bit integer, unsigned or signed
    Word32,   // a 32-bit value read by the word reader
    Boolean,  // a 16-bit on/off word
    Choice,   // an 8-bit code that the language writes as a word
    Text,     // a NUL-terminated text, or none
    Bounds,   // four 16-bit values
    Bitmap,   // a bitmap data block, or none
};

struct Field {
    std::string key;  // the statement that sets the field
    FieldType type = FieldType::Number;
    size_t offset = 0;  // file offset of the stored value
    uint32_t value = 0;
    int bytes = 0;          // Number: stored width
    bool is_signed = false; // Number: a signed 16-bit value
    const Words* words = nullptr;
    std::optional<std::string> text;
    StoredBounds bounds;
    BitmapView bitmap;
    std::string picture;  // Bitmap: name of the picture within its record

    // The signed value of a Number field.
    long number() const;
};

struct Record {
    size_t offset = 0;  // of the identifier
    size_t end = 0;     // just past the record
    uint16_t id = 0;
    uint8_t type = 0;
    std::vector<Field> fields;

    const char* keyword() const { return kind_keyword(type); }
    // The first field with this key, or nullptr.
    const Field* find(std::string_view key) const;
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
