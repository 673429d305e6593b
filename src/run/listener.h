// What a second program learns from a run of the compiler's own scanner and
// record logic: orrinrc-check listens to every match and every error to say
// where each mistake is. The compiler itself runs with no listener.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "format/format.h"
#include "format/language.h"
#include "format/values.h"
#include "util/error.h"

namespace orrinrc {

struct Records;

class RunListener {
public:
    virtual ~RunListener() = default;

    // Every text a scanner rule matched, in the start condition `state`,
    // before the rule's action runs.
    virtual void matched(format::State state, const char* text, size_t length) = 0;
    // The last `length` bytes matched go back to the input, to be matched
    // again.
    virtual void given_back(size_t length) = 0;
    // Text that the scanner read past its last match: the rest of a line
    // with an error, a comment line that holds a NUL.
    virtual void read_on(const char* text, size_t length) = 0;
    // Matched text that no statement takes, copied to standard output.
    virtual void copied_out(const char* text, size_t length) = 0;

    // The statement a rule took, right after its matched(): the entry of the
    // language's tables (format/language.h), the same for every spelling of
    // one statement. A statement whose place depends on what the definition
    // holds is the entry of the place it reached (CONTROL_ADD. of the
    // control's style, the picture that is due). Not told for a statement
    // with no place at all (a third check-box picture).
    virtual void statement(const format::StatementInfo&) {}
    // The word a value line gave, right after its matched(), likewise.
    virtual void value_word(const format::WordInfo&) {}

    virtual void definition_opened(format::Kind kind) = 0;
    virtual void object_type_line(format::Kind kind) = 0;
    // The end statement, before the resource's name is checked and its
    // record written: the records as the definition leaves them, and the
    // name the resource is about to take (none when it has no NAME= line).
    virtual void definition_ending(uint16_t id, const Records& records, const Text& name) = 0;
    // A picture has been converted (`failure` empty) or not (the message):
    // its name as written and the file that name stands for.
    virtual void picture(const BitmapRecord& bm, const std::string& name, const std::string& file,
                         const std::string& failure) = 0;

    // Errors, each before the run stops. A syntax error names the state as
    // its message prints it (a start condition's name, or
    // format::kNoStyleBlockState).
    virtual void syntax_error(const char* state) = 0;
    virtual void input_ended_inside_definition() = 0;
    virtual void missing_name(uint16_t id) = 0;
    // Every error that stops the run, after the event above that named it
    // (if any).
    virtual void failed(const Error& error) = 0;
};

}  // namespace orrinrc
