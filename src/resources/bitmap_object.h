// BITMAP definitions: up to two pictures placed in a rectangle of a form.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

struct BitmapObjectRecord {
    uint16_t id = 0;
    BitmapRecord bitmap1;
    BitmapRecord bitmap2;
    Bounds bounds;
    uint8_t style = 0;
    uint16_t enable = 0;
    uint16_t active = 0;
    uint16_t visible = 0;
};


// The OBJECT.TYPE=BITMAP line: starts the object proper. bitmapnum then
// counts the four bounds lines still due (from -4) and then the pictures
// whose FILE= line has been read.
void bitmap_object_type(Records& records);

// What a "BOUNDS" line of a BITMAP definition reads into.
enum class BitmapBoundsTarget { bounds, bitmap1, bitmap2 };

// A "BOUNDS" line: one of the first four fills the bounds (and counts);
// later ones describe the pictures. With both pictures loaded it ends the
// run with "error bitmapnum=N" on standard error and exit code 1.
BitmapBoundsTarget bitmap_bounds_line(Records& records);

// A picture line ("BITMAP_BITMAP." and the like, or a late "BOUNDS" line):
// the picture that it describes, with its image data cleared.
BitmapRecord* bitmap_select_picture(Records& records, bool second);

// The value of each field of the record, for the writer.
FieldValue bitmap_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_bitmap(BinWriter& w, const Records& records);

}  // namespace orrinrc
