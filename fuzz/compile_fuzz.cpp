// Fuzz target of whole compilations in memory. The input is a resource text
// and the pictures it names (see harness.h for the layout). It is compiled
// three times: once, then again after a run of another text that stops
// inside a definition, then from a memory file instead of from memory. Every
// run passes the checks of check_run, and all three must agree exactly:
// runs are independent of each other and of how the text is read. A run that
// succeeds is written back as resource text and compiled again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dump/names.h"
#include "dump/rc_text.h"
#include "dump/records.h"
#include "harness.h"

using namespace orrinrc;

namespace {

// The largest resource.bin that a run writes back as resource text and
// compiles again.
constexpr size_t kRoundTripLimit = 64 * 1024;


std::string message_of(const fuzz::Compiled& c) {
    return c.result.error ? c.result.error->message : std::string("(no error)");
}

// A run that succeeded, written back as resource text by orrinrc-dump (unless
// it holds values that the language cannot spell), compiles with the BMP
// files written for it to the same resource.bin and resource.h.
void check_round_trip(const fuzz::Compiled& c) {
    if (!c.result.ok()) return;
    // A few lines can declare a grid of 65535 cells: written back as text,
    // such an image is megabytes of lines whose second compile is all the
    // time a run has. Large images are round-tripped by the golden and
    // dump tests instead.
    if (c.bin.size() > kRoundTripLimit) return;
    std::vector<dump::Record> records;
    try {
        records = dump::decode_image(dump::Bytes(c.bin.begin(), c.bin.end()));
    } catch (const dump::DumpError& e) {
        fuzz::fail("the dump tool cannot decode resource.bin at offset " + std::to_string(e.offset) + ": " + e.what);
    }
    std::vector<dump::DefineLine> names;
    std::string why;
    if (!dump::parse_resource_h(c.header, names, why)) fuzz::fail("the dump tool cannot read resource.h: " + why);
    const dump::ResourceText text = dump::write_resource_text(records, &names);
    if (!text.problems.empty()) return;
    fuzz::Input again;
    again.text = text.text;
    for (const auto& [name, bytes] : text.files)
        if (!again.pictures.emplace(name, bytes).second) fuzz::fail("the resource text names two pictures " + name);
    const fuzz::Compiled back = fuzz::compile_input(again);
    if (!back.result.ok()) fuzz::fail("the resource text written back does not compile: " + message_of(back));
    if (back.bin != c.bin) fuzz::fail("the resource text written back compiles to another resource.bin");
    if (back.header != c.header) fuzz::fail("the resource text written back compiles to another resource.h");
}

// A run that leaves as much behind as a run can: records of several kinds
// filled in, a picture that fails inside a check box, the scanner deep in
// its state stack.
const fuzz::Input& other_run() {
    static const fuzz::Input input = [] {
        fuzz::Input in;
        in.text =
            "NAME=Menu\n#MENU\nID=500\nOBJECT.TYPE=MENU\nMENU_NUM_ITEMS=2\nMENU_ITEM1=Open\nMENU_ITEM2=Quit\n"
            "#END_MENU\n"
            "NAME=Grid\n#TABLE\nID=401\nOBJECT.TYPE=TABLE\nTABLE_NUM_COLUMN=2\nTABLE_NUM_ROW=2\n"
            "TABLE_COLUMN_WIDTH1=20\nTABLE_DATA_TYPE=TABLE_TEXT\nTABLE_TEXT=cell\n#END_TABLE\n"
            "NAME=Check\n#CONTROL\nID=1\nOBJECT.TYPE=CONTROL\nCONTROL_STYLE=CHECKBOX\nCONTROL_ADD.GROUP_ID=1\n"
            "CONTROL_BITMAP.WIDTH=8\nCONTROL_BITMAP.FILE=Q_TWO_BIT, off.bmp\nCONTROL_BITMAP.X=4\n";
        in.pictures.emplace("off.bmp", "BM");
        in.bin_limit = 64;
        return in;
    }();
    return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input = fuzz::split_input(data, size);
    const fuzz::Compiled first = fuzz::compile_input(input);
    fuzz::check_run(input, first);

    const fuzz::Compiled other = fuzz::compile_input(other_run());
    if (other.result.ok()) fuzz::fail("the other run succeeded");
    const fuzz::Compiled again = fuzz::compile_input(input);
    fuzz::check_same(first, again, "the input run again after another run");

    const fuzz::Compiled from_file = fuzz::compile_input(input, true);
    fuzz::check_same(first, from_file, "the text from memory and from a file");

    check_round_trip(first);
    return 0;
}
