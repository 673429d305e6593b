// Fuzz target of orrinrc-dump: the input is taken as a resource.bin image and
// read as the tool reads it, one record at a time, through decoding, the
// listing and the resource text writer (BMP files built in memory). An
// unfinished image (total-length field 0) is listed like any other.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "dump/bmp_out.h"
#include "dump/print.h"
#include "dump/rc_text.h"
#include "dump/records.h"

using namespace orrinrc::dump;

namespace {

// Builds every BMP file as the tool would write it, and checks that the
// writer's output stays a text of lines.
class FuzzSink : public TextSink {
public:
    void text(const std::string& piece) override {
        if (!piece.empty() && piece.back() != '\n') __builtin_trap();
    }
    void file(const std::string& name, const BitmapView& bm) override {
        if (name.empty() || bmp_for(bm).size() < 54) __builtin_trap();
    }
    void problem(const std::string& what) override {
        if (what.empty()) __builtin_trap();
    }
    void note(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = std::fopen("/dev/null", "w");
    ImageReader image;
    image.open_memory(data, size);
    FuzzSink text;
    ResourceTextWriter writer(text);
    size_t count = 0;
    try {
        image.start();
        walk_records(image, [&](Record& rec) {
            if (rec.end <= rec.offset || rec.end > size) __builtin_trap();
            print_record(sink, rec, "");
            writer.record(rec, count++, false, nullptr);
        });
    } catch (const DumpError& e) {
        if (e.offset > size || e.what.empty()) __builtin_trap();
        return 0;
    }
    writer.finish(count, false, 0);
    return 0;
}
