// Pictures of stored bitmaps as PNG files, drawn through the canvas (the one
// PNG writer of the tool).
#include "dump/pictures.h"

#include "dump/canvas.h"

namespace orrinrc::dump {

bool write_png(const std::string& path, const BitmapView& bm, std::string& error, int scale) {
    Canvas canvas(bm.width, bm.height);
    canvas.picture(0, 0, bm);
    return canvas.write_png(path, scale, error);
}

}  // namespace orrinrc::dump
