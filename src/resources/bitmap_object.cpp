// BITMAP definitions: record, statement routines and writer.
#include "resources/bitmap_object.h"
#include "resources/records.h"
#include "resources/record_writer.h"

#include "util/error.h"
#include "util/strf.h"

namespace orrinrc {

void bitmap_object_type(Records& records) {
    BitmapObjectRecord& bitmap_object = records.bitmap_object;
    int& bitmapnum = records.bitmapnum;
    bitmapnum = -4;
    bitmap_object.bitmap1.clear_image();
    bitmap_object.bitmap2.clear_image();
}

BitmapBoundsTarget bitmap_bounds_line(Records& records) {
    int& bitmapnum = records.bitmapnum;
    if (bitmapnum < 0) {
        ++bitmapnum;
        return BitmapBoundsTarget::bounds;
    }
    if (bitmapnum == 0) return BitmapBoundsTarget::bitmap1;
    if (bitmapnum == 1) return BitmapBoundsTarget::bitmap2;
    Error e;
    e.kind = ErrorKind::BitmapCount;
    e.message = strf("error bitmapnum=%i\n", bitmapnum);
    e.stream = Stream::Err;
    raise(std::move(e));
}

BitmapRecord* bitmap_select_picture(Records& records, bool second) {
    BitmapObjectRecord& bitmap_object = records.bitmap_object;
    BitmapRecord* picture = second ? &bitmap_object.bitmap2 : &bitmap_object.bitmap1;
    picture->clear_image();
    return picture;
}

FieldValue bitmap_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const BitmapObjectRecord& bitmap_object = records.bitmap_object;
    const uint16_t related_table_id = records.related_table_id;
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
    default: return no_such_field();
    }
}

void write_bitmap(BinWriter& w, const Records& records) {
    const BitmapObjectRecord& bitmap_object = records.bitmap_object;
    write_record<bitmap_field, orrinrc::format::Kind::Bitmap>(w, records, bitmap_object.id);
}

}  // namespace orrinrc
