// BITMAP definitions: record, statement routines and writer.
#include "resources/bitmap_object.h"
#include "driver/record_writer.h"

#include <cstdio>

#include "driver/run.h"
#include "scanner/value_readers.h"

namespace orrinrc {

BitmapObjectRecord bitmap_object;

void bitmap_object_type() {
    bitmapnum = -4;
    bitmap_object.bitmap1.clear_image();
    bitmap_object.bitmap2.clear_image();
}

BitmapBoundsTarget bitmap_bounds_line() {
    if (bitmapnum < 0) {
        ++bitmapnum;
        return BitmapBoundsTarget::bounds;
    }
    if (bitmapnum == 0) return BitmapBoundsTarget::bitmap1;
    if (bitmapnum == 1) return BitmapBoundsTarget::bitmap2;
    std::fprintf(stderr, "error bitmapnum=%i\n", bitmapnum);
    fail_run(1);
}

BitmapRecord* bitmap_select_picture(bool second) {
    BitmapRecord* picture = second ? &bitmap_object.bitmap2 : &bitmap_object.bitmap1;
    picture->clear_image();
    return picture;
}

namespace {

FieldValue bitmap_field(orrinrc::format::FieldId id, size_t) {
    using F = orrinrc::format::FieldId;
    const BitmapObjectRecord& r = bitmap_object;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(r.bounds);
    case F::BitmapStyle: return number_value_of(r.style);
    case F::BitmapPicture1: return bitmap_value_of(r.bitmap1);
    case F::BitmapPicture2: return bitmap_value_of(r.bitmap2);
    case F::BitmapEnable: return number_value_of(r.enable);
    case F::BitmapActive: return number_value_of(r.active);
    case F::BitmapVisible: return number_value_of(r.visible);
    default: return {};
    }
}

}  // namespace

void write_bitmap(BinWriter& w) {
    write_record<bitmap_field, orrinrc::format::Kind::Bitmap>(w, bitmap_object.id);
}

}  // namespace orrinrc
