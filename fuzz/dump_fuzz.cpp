// libFuzzer target for orrinrc-dump: the input is taken as a resource.bin
// image and goes through decoding, the listing and the resource text writer
// (BMP files built in memory). Build from the repository root:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/dump_fuzz.cpp src/dump/container.cpp src/dump/records.cpp src/dump/print.cpp \
//       src/dump/rc_text.cpp src/dump/bmp_out.cpp src/dump/names.cpp src/dump/pictures.cpp \
//       src/format/format.cpp -lpng -o dump_fuzz
// Run: ./dump_fuzz -max_total_time=60 CORPUS_DIR
#include <cstdint>
#include <cstdio>

#include "dump/print.h"
#include "dump/rc_text.h"
#include "dump/records.h"

using namespace orrinrc::dump;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = std::fopen("/dev/null", "w");
    const Bytes bytes(data, data + size);
    std::vector<Record> records;
    try {
        walk_image(bytes, [&](Record& rec) {
            print_record(sink, rec, "");
            records.push_back(std::move(rec));
        });
    } catch (const DumpError&) {
        return 0;
    }
    write_resource_text(records, nullptr);
    return 0;
}
