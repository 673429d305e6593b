// BMP import: reads the header, the colour table or colour masks and the
// pixel rows of a BMP file and packs grey levels into 32-bit words.
//
// A small file is read whole with one read; a larger one with positioned
// reads of whole spans (the header, the colour table, the part of each
// stored row that the output uses), so that stored row bytes that the
// conversion drops are never read. Work and memory are bounded by the
// output, which is at most 65532 bytes.
//
// Resource texts name the same few pictures again and again (every check
// box names its two), so the last pictures converted are kept: within one
// run a file name stands for one picture, read once.
#include "bitmap/bmp_import.h"

#include "driver/strf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "bitmap/grey_levels.h"
#include "format/pixels.h"
#include "driver/run.h"
#include "driver/run_listener.h"

namespace orrinrc {

namespace {

constexpr int64_t kMaxDataSize = 65532;  // the record's size field is 16 bits
constexpr uint64_t kFarAway = std::numeric_limits<uint64_t>::max();


// An open BMP file. Reads are positioned, and every byte beyond the end of
// the file reads as 0xFF.
class BmpFile {
public:
    // Files up to this size are read whole at the first read.
    static constexpr uint64_t kWhole = 64 * 1024;

    ~BmpFile() {
        if (fd_ >= 0) ::close(fd_);
    }

    // Opens a regular file for reading. Directories, pipes and devices are
    // refused (opening does not block on a pipe: O_NONBLOCK).
    bool open(const char* path) {
        fd_ = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return false;
        struct stat st;
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
        size_ = static_cast<uint64_t>(st.st_size);
        return true;
    }

    // Fills dst[0, n) from file offset `offset`; false on a read error.
    bool read_at(uint64_t offset, uint8_t* dst, size_t n) {
        if (n == 0) return true;
        if (size_ <= kWhole) {
            if (!whole_ && !read_whole()) return false;
            const size_t from = static_cast<size_t>(std::min<uint64_t>(offset, whole_size_));
            const size_t got = std::min(n, whole_size_ - from);
            std::memcpy(dst, whole_.get() + from, got);
            std::memset(dst + got, 0xFF, n - got);
            return true;
        }
        return pread_all(offset, dst, n);
    }

private:
    // Reads dst[0, n) at `offset` as far as the file reaches, the rest 0xFF.
    bool pread_all(uint64_t offset, uint8_t* dst, size_t n, size_t* got_out = nullptr) {
        size_t got = 0;
        if (offset < size_) {
            const size_t avail = static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
            while (got < avail) {
                const ssize_t r = ::pread(fd_, dst + got, avail - got,
                                          static_cast<off_t>(offset + got));
                if (r < 0) {
                    if (errno == EINTR) continue;
                    return false;
                }
                if (r == 0) break;  // the file shrank under us: the rest is past its end
                got += static_cast<size_t>(r);
            }
        }
        std::memset(dst + got, 0xFF, n - got);
        if (got_out) *got_out = got;
        return true;
    }

    bool read_whole() {
        whole_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size_) + 1]);
        if (!whole_) return false;
        return pread_all(0, whole_.get(), static_cast<size_t>(size_), &whole_size_);
    }

    int fd_ = -1;
    uint64_t size_ = 0;
    std::unique_ptr<uint8_t[]> whole_;
    size_t whole_size_ = 0;  // bytes of whole_ that came from the file
};

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool header_size_supported(uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool bit_count_supported(int bpp) {
    return bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// base + index * stride, or kFarAway (beyond any file) when that overflows.
uint64_t row_offset(uint64_t base, uint64_t index, uint64_t stride) {
    if (index != 0 && stride > (kFarAway - base) / index) return kFarAway;
    return base + index * stride;
}

// One colour channel of a direct-colour pixel, selected by its mask and
// scaled to 0..255 with rounding (a 5-bit 31 and a 6-bit 63 both give 255).
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        while (((m >> shift) & 1u) == 0) ++shift;
        max = m >> shift;
    }

    int value(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint64_t c = (pixel & mask) >> shift;
        return static_cast<int>((c * 255 + max / 2) / max);
    }
};

}  // namespace

std::string bmp_convert(BitmapRecord& bm, const char* path) {
    BmpFile file;
    if (!file.open(path)) return strf("error: can't open file %s\n", path);

    // File header (14 bytes) and the leading 40 bytes of the information
    // header; the longer headers only add fields that are not used.
    uint8_t h[54];
    if (!file.read_at(0, h, sizeof h)) return strf("error: %s: read error\n", path);
    const uint32_t pixel_offset = le32(h + 10);
    const uint32_t header_size = le32(h + 14);
    const int32_t image_width = static_cast<int32_t>(le32(h + 18));
    const int32_t image_height = static_cast<int32_t>(le32(h + 22));
    const int bpp = static_cast<int16_t>(le16(h + 28));
    const uint32_t compression = le32(h + 30);

    if (!header_size_supported(header_size))
        return strf("error: %s: header size %u not supported\n", path, header_size);
    if (!bit_count_supported(bpp))
        return strf("error: %s: %d bits per pixel not supported\n", path, bpp);
    const bool masked = compression == 3 && (bpp == 16 || bpp == 32);
    if (compression != 0 && !masked)
        return strf("error: %s: compression %u not supported\n", path, compression);
    if (image_width < 0)
        return strf("error: %s: image width %d is negative\n", path, image_width);

    // Level of every palette index; or the channels of direct colour.
    const bool palette = bpp <= 8;
    int levels[256] = {};
    Channel red(0x7C00), green(0x03E0), blue(0x001F);  // 16 bits: 5-5-5
    if (palette) {
        const size_t n = size_t{1} << bpp;
        std::unique_ptr<uint8_t[]> r(new (std::nothrow) uint8_t[n]);
        std::unique_ptr<uint8_t[]> g(new (std::nothrow) uint8_t[n]);
        std::unique_ptr<uint8_t[]> b(new (std::nothrow) uint8_t[n]);
        if (!r) return strf("error: no mem for R file %s\n", path);
        if (!g) return strf("error: no mem for G file %s\n", path);
        if (!b) return strf("error: no mem for B file %s\n", path);
        uint8_t table[256 * 4];
        if (!file.read_at(14 + uint64_t{header_size}, table, 4 * n))
            return strf("error: %s: read error\n", path);
        for (size_t i = 0; i < n; ++i) {
            r[i] = table[4 * i];
            g[i] = table[4 * i + 1];
            b[i] = table[4 * i + 2];
            levels[i] = grey_level(r[i] + g[i] + b[i]);
        }
    } else if (masked) {
        // The masks follow a 40-byte header and are part of the longer ones;
        // either way they start at offset 54.
        uint8_t m[12];
        if (!file.read_at(54, m, sizeof m)) return strf("error: %s: read error\n", path);
        red = Channel(le32(m));
        green = Channel(le32(m + 4));
        blue = Channel(le32(m + 8));
    } else if (bpp != 16) {
        red = Channel(0xFF0000);
        green = Channel(0x00FF00);
        blue = Channel(0x0000FF);
    }

    const int depth = bm.depth;
    if (depth != 2 && depth != 4) return strf("error: %s: depth %d not supported\n", path, depth);
    const int height = bm.height;
    const int words_per_row = static_cast<int>(format::words_per_row(bm.width, static_cast<unsigned>(depth)));
    const int64_t size = int64_t{height} * words_per_row * 4;
    if (size < 0)
        return strf("error: %s: width %d and height %d give a negative size\n", path, bm.width,
                      height);
    if (size > kMaxDataSize)
        return strf("error: %s: size of %lld bytes is over %lld\n", path,
                      static_cast<long long>(size), static_cast<long long>(kMaxDataSize));

    std::vector<uint32_t> words;
    try {
        words.assign(static_cast<size_t>(size / 4), 0);
    } catch (const std::bad_alloc&) {
        return strf("error: no mem for file %s\n", path);
    }

    // A negative height (and with it a negative W) converts no rows: the
    // data stays zero.
    if (height > 0 && words_per_row > 0) {
        // Stored row: S bytes, the row padding included. All of its whole
        // pixels are converted, padding pixels too; zeros follow once they
        // run out. Only the pixels that the W words take are read.
        const uint64_t stride = (uint64_t(bpp) * uint64_t(image_width) + 31) / 32 * 4;
        const uint64_t pixels_per_word = format::pixels_per_word(static_cast<unsigned>(depth));  // 16 or 8
        const int word_shift = depth == 2 ? 4 : 3;      // p / pixels_per_word = p >> word_shift
        const uint64_t out_pixels = uint64_t(words_per_row) * pixels_per_word;
        const uint64_t stored_pixels = stride * 8 / bpp;
        const uint64_t used = std::min(stored_pixels, out_pixels);
        std::vector<uint8_t> row((used * bpp + 7) / 8);

        // Top-down files hold the picture's top row first; map row r of the
        // bottom-up order onto them so both layouts give the same output.
        const bool top_down = image_height < 0;
        const int64_t stored_rows = top_down ? -int64_t{image_height} : image_height;
        const int bytes_per_pixel = bpp / 8;
        const uint32_t index_mask = (1u << (palette ? bpp : 1)) - 1;

        for (int r = 0; r < height; ++r) {
            const uint64_t index =
                top_down && r < stored_rows ? uint64_t(stored_rows - 1 - r) : uint64_t(r);
            if (!file.read_at(row_offset(pixel_offset, index, stride), row.data(), row.size()))
                return strf("error: %s: read error\n", path);

            uint32_t* out = &words[size_t(height - 1 - r) * size_t(words_per_row)];
            for (uint64_t p = 0; p < used; ++p) {
                int level;
                if (palette) {
                    const uint64_t bit = p * bpp;
                    const int shift = 8 - int(bit % 8) - bpp;
                    level = levels[(row[bit / 8] >> shift) & index_mask];
                } else {
                    const uint8_t* px = &row[p * bytes_per_pixel];
                    uint32_t v = 0;
                    for (int i = bytes_per_pixel - 1; i >= 0; --i) v = v << 8 | px[i];
                    level = grey_level(red.value(v) + green.value(v) + blue.value(v));
                }
                out[p >> word_shift] |= format::pixel_bits(depth_value(level, depth), p, static_cast<unsigned>(depth));
            }
        }
    }

    bm.size = static_cast<uint16_t>(size);
    bm.words.swap(words);
    bm.loaded = true;
    return "";
}

namespace {

// One converted picture and what it was converted from.
struct CachedPicture {
    std::string path;
    int16_t width = 0;
    int16_t height = 0;
    uint8_t depth = 0;
    uint16_t size = 0;
    std::vector<uint32_t> words;
};

// A handful of pictures of at most 65532 bytes each: memory stays small.
constexpr size_t kCachedPictures = 16;
std::vector<CachedPicture> cached_pictures;
size_t next_replaced = 0;

}  // namespace

std::string bmp_convert_cached(BitmapRecord& bm, const char* path) {
    for (const CachedPicture& c : cached_pictures) {
        if (c.width == bm.width && c.height == bm.height && c.depth == bm.depth && c.path == path) {
            bm.size = c.size;
            bm.words.assign(c.words.begin(), c.words.end());
            bm.loaded = true;
            return "";
        }
    }
    std::string message = bmp_convert(bm, path);
    if (!message.empty()) return message;
    if (cached_pictures.size() < kCachedPictures) cached_pictures.emplace_back();
    CachedPicture& c = cached_pictures[next_replaced];
    next_replaced = (next_replaced + 1) % kCachedPictures;
    c.path = path;
    c.width = bm.width;
    c.height = bm.height;
    c.depth = bm.depth;
    c.size = bm.size;
    c.words.assign(bm.words.begin(), bm.words.end());
    return "";
}

void bmp_import(BitmapRecord& bm, const char* path) {
    const std::string message = bmp_convert_cached(bm, path);
    if (run_listener) run_listener->picture(bm, path, message);
    if (message.empty()) return;
    std::fputs(message.c_str(), stdout);
    fail_run(1);
}

bool bmp_facts(const char* path, BmpFacts& facts) {
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0) return false;
    uint8_t h[34] = {};
    struct stat st;
    const bool ok = ::fstat(fd, &st) == 0 && ::pread(fd, h, sizeof h, 0) == static_cast<ssize_t>(sizeof h);
    ::close(fd);
    if (!ok || h[0] != 'B' || h[1] != 'M') return false;
    auto le16 = [&](int at) { return static_cast<uint32_t>(h[at] | h[at + 1] << 8); };
    auto le32 = [&](int at) { return le16(at) | le16(at + 2) << 16; };
    const uint32_t header = le32(14);
    int64_t width, height;
    uint32_t bpp, compression = 0;
    if (header == 12) {
        width = static_cast<int16_t>(le16(18));
        height = static_cast<int16_t>(le16(20));
        bpp = le16(24);
    } else {
        width = static_cast<int32_t>(le32(18));
        height = static_cast<int32_t>(le32(22));
        bpp = le16(28);
        compression = le32(30);
    }
    const int64_t rows = height < 0 ? -height : height;
    facts.width = static_cast<int32_t>(width);
    facts.height = static_cast<int32_t>(rows);
    const bool uncompressed = compression == 0 || compression == 3;
    const int64_t stride = (int64_t{bpp} * (width < 0 ? 0 : width) + 31) / 32 * 4;
    facts.cut_short = uncompressed && int64_t{le32(10)} + rows * stride > static_cast<int64_t>(st.st_size);
    return true;
}

}  // namespace orrinrc
