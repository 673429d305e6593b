// A grey-level drawing surface in device pixels, for previews of forms:
// rectangles, lines, texts in the pixel font, stored pictures, written as a
// PNG scaled up with every device pixel a square of N x N.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dump/records.h"

namespace orrinrc::dump {

// The device's four colours (COLOR_WHITE .. COLOR_BLACK) as PNG greys.
uint8_t colour_grey(uint32_t colour);

// The accent colour, as red, green and blue.
inline constexpr uint8_t kAccent[3] = {230, 0, 126};

// The three text sizes (the language's small, normal/medium and large fonts).
enum class TextSize { Small, Normal, Large };
TextSize text_size(uint32_t font);

class Canvas {
public:
    Canvas(int width, int height, uint8_t background = 255);

    int width() const { return width_; }
    int height() const { return height_; }
    uint8_t at(int x, int y) const { return pixels_[index(x, y)]; }
    // Whether both hold the same picture: size, greys and accent pixels.
    bool same_pixels(const Canvas& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_ && accent_ == other.accent_;
    }
    // Whether the pixel is in the accent colour, which marks layout mistakes.
    bool accented(int x, int y) const { return accent_[index(x, y)] != 0; }

    // While on, everything drawn is in the accent colour instead of its grey.
    void accent_pen(bool on) { accent_pen_ = on; }
    // Copies `other` with its top-left corner at (x, y).
    void paste(const Canvas& other, int x, int y);

    // Drawing stays inside this rectangle (and the canvas) until unclip().
    void clip(int x, int y, int w, int h);
    void unclip();

    void dot(int x, int y, uint8_t grey);
    void fill(int x, int y, int w, int h, uint8_t grey);
    // A frame one pixel wide, its corners cut by `radius`; `dashed` draws
    // every other pixel.
    void frame(int x, int y, int w, int h, uint8_t grey, int radius = 0, bool dashed = false);
    void line(int x0, int y0, int x1, int y1, uint8_t grey, int thickness = 1, bool dotted = false);
    // Diagonal hatching inside a rectangle.
    void hatch(int x, int y, int w, int h, uint8_t grey);

    // Text from (x, y), its top-left corner; returns the width drawn.
    int text(int x, int y, std::string_view s, TextSize size, uint8_t grey);
    static int text_width(std::string_view s, TextSize size);
    static int text_height(TextSize size);

    // A stored picture with its top-left corner at (x, y), in the device's
    // grey levels; nothing for a picture that is not drawable.
    void picture(int x, int y, const BitmapView& bm);

    // The canvas as the bytes of a PNG file, each pixel `scale` x `scale`:
    // 8-bit grey, or 8-bit RGB when it holds accent pixels. False with a
    // message when the encoder fails.
    bool encode_png(int scale, std::string& out, std::string& error) const;
    // Those bytes written to a file.
    bool write_png(const std::string& path, int scale, std::string& error) const;

private:
    // The pixels as the PNG holds them: rows of grey bytes, or of red, green
    // and blue bytes when the canvas holds accent pixels.
    struct Scaled {
        std::vector<uint8_t> pixels;
        size_t width = 0, height = 0, channels = 1;
    };
    Scaled scaled(int scale) const;

    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
    std::vector<uint8_t> accent_;  // 1 where the pixel is in the accent colour
    bool accent_pen_ = false;
    int clip_x0_ = 0, clip_y0_ = 0, clip_x1_, clip_y1_;  // clip_x1_, clip_y1_ exclusive
};

}  // namespace orrinrc::dump
