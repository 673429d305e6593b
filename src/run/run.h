// One compilation as a value: every piece of state of a run lives in a Run,
// so that runs are independent of each other and a program may hold several.
// The scanner fills the records and calls the operations below; an error is
// raised (util/error.h) and ends the run at the entry point, which saves the
// outputs as finish_run and save_after_error describe.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "bitmap/bmp_import.h"
#include "output/header_file.h"
#include "output/resource_bin.h"
#include "output/target.h"
#include "resources/records.h"
#include "run/listener.h"
#include "util/error.h"

namespace orrinrc {

// What a caller chooses for a run.
struct RunOptions {
    // Folders in which a relative picture name that does not exist as written
    // is looked up, in order.
    std::vector<std::string> picture_dirs;
    // The folder that a relative picture name is written from; empty: the
    // current one.
    std::string base_dir;
    // Pictures in memory, by the name a FILE= line gives: when set, no file
    // is opened for a picture, and a name missing here cannot be opened.
    const std::map<std::string, std::string, std::less<>>* pictures = nullptr;
    // Told of every match, definition, picture and error; none for the
    // compiler.
    RunListener* listener = nullptr;
    // Raised by another thread to stop the run soon (an error of kind
    // Cancelled).
    const std::atomic<bool>* cancel = nullptr;
    // A picture that cannot be read is taken as a blank one of its declared
    // size and the run goes on (the listener has been told): for the
    // checker, which reports every error of a text. The compiler stops.
    bool blank_unreadable_pictures = false;
};

// Where a record ends in resource.bin and where its line ends in resource.h.
struct RecordEnd {
    uint64_t bin;
    uint64_t header;
};

struct Run {
    Run(const RunOptions& options, Console console) : options(options), console(console) {}
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    const RunOptions& options;
    // The trace and text that no statement takes: the run's standard output.
    Console console;

    Records records;
    // The name of the next resource to end.
    Text resource_name;

    BinWriter resource_bin;
    HeaderFile resource_h;
    // The last record known to be wholly on disk (at first: the total-length
    // field, with no line), and the records after it, oldest first. An error
    // keeps the records that are wholly on disk and cuts resource.h to the
    // end of the last one's line.
    RecordEnd saved_end{0, 0};
    std::deque<RecordEnd> unsaved_ends;
    bool outputs_open = false;

    // Scan events not handed to the listener yet (see RunListener::scanned);
    // none without a listener.
    std::optional<ScanEvents> scan_events;

    PictureCache pictures;
    // The files that pictures were read from, each once, in order of first use.
    std::vector<std::string> files_read;
    std::unordered_set<std::string> files_known;
};

// The run's listener (none for the compiler), once the scan events
// gathered so far have reached it. Every other event goes to the listener
// through here, so that it hears of everything in order.
RunListener* listener_now(Run& run);

// Writes the total-length placeholder of resource.bin once both outputs are
// open; from here on an error leaves the outputs as save_after_error says.
void start_outputs(Run& run);

// The normal end of the run: resource.bin complete with its total length,
// then resource.h. Failures raise an error.
void finish_outputs(Run& run);

// After an error: leaves resource.bin with every complete record that it
// could put on disk, no partial one, and the total-length field 0; resource.h
// with the whole lines of exactly those records. An output that fails here
// is not written again; the other output is still saved (cut back to match,
// when resource.bin lost records). Returns the errors of the outputs that
// failed here, in order.
std::vector<Error> save_after_error(Run& run);

// Appends "#define <name> <id>" to resource.h and releases the name.
void write_define(Run& run, uint16_t id);

// Parse trace: the kind's keyword when a definition opens, the identifier at
// its OBJECT.TYPE= line ("ID=" always starts in column 11), the length of
// resource.bin when it ends.
void trace_open(Run& run, const char* keyword);
void trace_id(Run& run, const char* keyword, uint16_t id);
void trace_end(Run& run);

// The end statement of every kind: checks that the resource has a name, runs
// the kind's writer, commits the record, writes the #define line and the end
// of the trace line.
void end_definition(Run& run, uint16_t id, void (*writer)(BinWriter&, const Records&));

// Reads the picture that a FILE= line names into bm: the file the name
// stands for (see resolve_picture), through the run's cache. A picture that
// cannot be read raises an error located at `statement_offset`.
void import_picture(Run& run, BitmapRecord& bm, const char* name, uint64_t statement_offset);

// The file that a picture name stands for, as messages name it: the name
// itself when it is absolute or exists, else the first of the picture
// folders that holds it, else the name (which then fails to open). Relative
// names are looked up from the base folder.
std::string resolve_picture(const RunOptions& options, const char* name);
// Where that file is opened: from the base folder when it is relative.
std::string picture_path(const RunOptions& options, const std::string& file);

}  // namespace orrinrc
