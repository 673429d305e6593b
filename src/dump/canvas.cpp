// Drawing on a grey-level canvas and writing it as a scaled PNG.
#include "dump/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dump/font.h"
#include "dump/png_file.h"

namespace orrinrc::dump {

uint8_t colour_grey(uint32_t colour) {
    switch (colour) {
    case format::kColorWhite: return 255;
    case format::kColorGrey1: return 170;
    case format::kColorGrey2: return 85;
    default: return 0;
    }
}

TextSize text_size(uint32_t font) {
    if (font == format::kSmallFont) return TextSize::Small;
    if (font == format::kLargeFont) return TextSize::Large;
    return TextSize::Normal;
}

namespace {

// Dots per glyph dot, extra boldness, and the room a character takes.
struct Face {
    int dot;
    bool bold;
    int advance;
    int height;
};

Face face(TextSize size) {
    auto with = [](int dot, bool bold, uint32_t font) {
        const format::FontMetrics m = format::font_metrics(font);
        return Face{dot, bold, m.advance, m.height};
    };
    switch (size) {
    case TextSize::Small: return with(1, false, format::kSmallFont);
    case TextSize::Normal: return with(1, true, format::kMediumFont);
    default: return with(2, false, format::kLargeFont);
    }
}

}  // namespace

Canvas::Canvas(int width, int height, uint8_t background)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), background), accent_(pixels_.size(), 0),
      clip_x1_(width_), clip_y1_(height_) {}

void Canvas::paste(const Canvas& other, int x, int y) {
    for (int yy = 0; yy < other.height_; ++yy)
        for (int xx = 0; xx < other.width_; ++xx) {
            const int tx = x + xx, ty = y + yy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            pixels_[index(tx, ty)] = other.at(xx, yy);
            accent_[index(tx, ty)] = other.accent_[other.index(xx, yy)];
        }
}

void Canvas::clip(int x, int y, int w, int h) {
    clip_x0_ = std::max(x, 0);
    clip_y0_ = std::max(y, 0);
    clip_x1_ = static_cast<int>(std::clamp<long>(long{x} + std::max(w, 0), 0, width_));
    clip_y1_ = static_cast<int>(std::clamp<long>(long{y} + std::max(h, 0), 0, height_));
}

void Canvas::unclip() { clip(0, 0, width_, height_); }

void Canvas::dot(int x, int y, uint8_t grey) {
    if (x < clip_x0_ || y < clip_y0_ || x >= clip_x1_ || y >= clip_y1_) return;
    pixels_[index(x, y)] = grey;
    accent_[index(x, y)] = accent_pen_ ? 1 : 0;
}

void Canvas::fill(int x, int y, int w, int h, uint8_t grey) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min<long>(long{x} + w, width_), y1 = std::min<long>(long{y} + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) dot(xx, yy, grey);
}

void Canvas::frame(int x, int y, int w, int h, uint8_t grey, int radius, bool dashed) {
    if (w <= 0 || h <= 0) return;
    const int r = std::clamp(radius, 0, std::min(w, h) / 2);
    auto put = [&](int xx, int yy, int n) {
        if (!dashed || n % 2 == 0) dot(xx, yy, grey);
    };
    for (int i = r; i < w - r; ++i) {
        put(x + i, y, i);
        put(x + i, y + h - 1, i);
    }
    for (int i = r; i < h - r; ++i) {
        put(x, y + i, i);
        put(x + w - 1, y + i, i);
    }
    // Corners cut on the diagonal: enough to show a rounded button.
    for (int i = 1; i < r; ++i) {
        put(x + r - i, y + i, i);
        put(x + w - 1 - r + i, y + i, i);
        put(x + r - i, y + h - 1 - i, i);
        put(x + w - 1 - r + i, y + h - 1 - i, i);
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, uint8_t grey, int thickness, bool dotted) {
    const int t = std::clamp(thickness, 1, 64);
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy, n = 0;
    for (int guard = 0; guard < 1 << 17; ++guard, ++n) {
        if (!dotted || n % 2 == 0) fill(x0 - (t - 1) / 2, y0 - (t - 1) / 2, t, t, grey);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::hatch(int x, int y, int w, int h, uint8_t grey) {
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            if ((xx + yy) % 4 == 0) dot(x + xx, y + yy, grey);
    frame(x, y, w, h, grey);
}

int Canvas::text(int x, int y, std::string_view s, TextSize size, uint8_t grey) {
    const Face f = face(size);
    int pen = x;
    for (unsigned char c : s) {
        for (int r = 0; r < kGlyphRows; ++r)
            for (int col = 0; col < kGlyphColumns; ++col)
                if (glyph_dot(c, r, col)) {
                    fill(pen + col * f.dot, y + r * f.dot, f.dot, f.dot, grey);
                    if (f.bold) fill(pen + col * f.dot + 1, y + r * f.dot, f.dot, f.dot, grey);
                }
        pen += f.advance;
    }
    return pen - x;
}

int Canvas::text_width(std::string_view s, TextSize size) { return static_cast<int>(s.size()) * face(size).advance; }

int Canvas::text_height(TextSize size) { return face(size).height; }

void Canvas::picture(int x, int y, const BitmapView& bm) {
    std::string why;
    if (!bm.drawable(why)) return;
    const unsigned deepest = (1u << bm.depth) - 1;
    for (long r = 0; r < bm.height; ++r)
        for (long c = 0; c < bm.width; ++c)
            dot(x + static_cast<int>(c), y + static_cast<int>(r),
                static_cast<uint8_t>(255 - bm.pixel(r, c) * 255 / deepest));
}

Canvas::Scaled Canvas::scaled(int scale) const {
    const size_t s = static_cast<size_t>(std::clamp(scale, 1, 16));
    Scaled out;
    out.width = static_cast<size_t>(width_) * s;
    out.height = static_cast<size_t>(height_) * s;
    out.channels = std::find(accent_.begin(), accent_.end(), 1) != accent_.end() ? 3 : 1;
    out.pixels.resize(out.width * out.height * out.channels);
    for (size_t y = 0; y < out.height; ++y)
        for (size_t x = 0; x < out.width; ++x) {
            const int cx = static_cast<int>(x / s), cy = static_cast<int>(y / s);
            uint8_t* px = &out.pixels[(y * out.width + x) * out.channels];
            for (size_t i = 0; i < out.channels; ++i) px[i] = accented(cx, cy) ? kAccent[i] : at(cx, cy);
        }
    return out;
}

bool Canvas::write_png(const std::string& path, int scale, std::string& error) const {
    const Scaled img = scaled(scale);
    return dump::write_png(path, img.pixels.data(), img.width, img.height, img.channels, error);
}

bool Canvas::encode_png(int scale, std::string& out, std::string& error) const {
    const Scaled img = scaled(scale);
    return dump::encode_png(img.pixels.data(), img.width, img.height, img.channels, out, error);
}

}  // namespace orrinrc::dump
