// What a second program learns from a run of the compiler's own scanner and
// record logic: orrinrc-check listens to every match and every error to say
// where each mistake is. The compiler itself runs with no listener.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "format/format.h"
#include "format/language.h"
#include "format/values.h"
#include "util/error.h"

namespace orrinrc {

struct Records;

// One thing the scanner did. The scanner gathers these and hands them over
// in batches: a call per match would cost the checker more than the match.
struct ScanEvent {
    enum class Type : uint8_t {
        // Text a rule matched in the start condition `state`, `length`
        // bytes at `offset` in the text read, before the rule's action ran.
        Match,
        // The statement the last match was: `entry` in format::kStatements,
        // the same for every spelling of one statement. A statement whose
        // place depends on what the definition holds is the entry of the
        // place it reached (CONTROL_ADD. of the control's style, the picture
        // that is due). None for a statement with no place at all (a third
        // check-box picture).
        Statement,
        // The word a value line gave: `entry` in format::kWords.
        Word,
        // The last `length` bytes matched go back to the input, to be
        // matched again.
        GivenBack,
    };
    Type type;
    format::State state;
    uint16_t entry;
    uint32_t length;
    uint64_t offset;
};

// Scan events gathered for the listener and handed over in batches: room
// for kHeld, enough to make a call per batch cheap and few enough to stay in
// the cache. The scanner fills the next one in place and hands the batch
// over when it is full (listener_now).
struct ScanEvents {
    static constexpr size_t kHeld = 256;
    std::unique_ptr<ScanEvent[]> events = std::make_unique<ScanEvent[]>(kHeld);
    size_t count = 0;

    ScanEvent& next() { return events[count++]; }
    bool full() const { return count == kHeld; }
};

// Every event is ignored unless a listener overrides its handler.
class RunListener {
public:
    virtual ~RunListener() = default;

    // The text the scanner reads from its input, in order and in pieces
    // of some kilobytes, before it matches any of it (line ends translated
    // as the compiler reads them; offsets below count these bytes).
    virtual void text_read(const char* /*text*/, size_t /*length*/) {}
    // What the scanner did, in order and in batches: every match, the
    // statement or word each match was, and text given back (see
    // ScanEvent). A batch reaches the listener before any other event and
    // before the text read next, so every event arrives in the order it
    // happened; a match's text is at its offset in the text read.
    virtual void scanned(const ScanEvent* /*events*/, size_t /*count*/) {}
    // Read past the last match: the rest of a line with an error, a comment
    // line that holds a NUL.
    virtual void read_on(const char* /*text*/, size_t /*length*/) {}
    // Matched text that no statement takes, copied to standard output.
    virtual void copied_out(const char* /*text*/, size_t /*length*/) {}

    virtual void definition_opened(format::Kind /*kind*/) {}
    virtual void object_type_line(format::Kind /*kind*/) {}
    // The end statement, before the resource's name is checked and its
    // record written: the records as the definition leaves them, and the
    // name the resource is about to take (none when it has no NAME= line).
    virtual void definition_ending(uint16_t /*id*/, const Records& /*records*/, const Text& /*name*/) {}
    // A picture has been converted (`failure` empty) or not (the message):
    // its name as written and the file that name stands for.
    virtual void picture(const BitmapRecord& /*bm*/, const std::string& /*name*/, const std::string& /*file*/,
                         const std::string& /*failure*/) {}

    // Errors, each before the run stops. A syntax error names the state as
    // its message prints it (a start condition's name, or
    // format::kNoStyleBlockState).
    virtual void syntax_error(const char* /*state*/) {}
    virtual void input_ended_inside_definition() {}
    virtual void missing_name(uint16_t /*id*/) {}
    // Every error that stops the run, after the event above that named it
    // (if any).
    virtual void failed(const Error& /*error*/) {}
};

}  // namespace orrinrc
