// BITMAP definitions: record, statement routines and writer.
#include "resources/bitmap_object.h"

#include <cstdio>

#include "driver/run.h"
#include "scanner/value_readers.h"

BitmapObjectRecord bitmap_object;

void bitmap_object_type() {
    bitmap_object.type = 9;
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

void write_bitmap(BinWriter& w) {
    const BitmapObjectRecord& r = bitmap_object;
    RecordFrame frame = begin_record(w, r.id, r.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, r.bounds);
    next_inner_block(w, frame);
    write_u8(w, r.style);
    next_inner_block(w, frame);
    write_bitmap_block(w, r.bitmap1);
    next_inner_block(w, frame);
    write_bitmap_block(w, r.bitmap2);
    next_inner_block(w, frame);
    write_u16(w, r.enable);
    write_u16(w, r.active);
    write_u16(w, r.visible);
    end_record(w, frame);
}
