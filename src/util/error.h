// The one error model of a run: an error is a value that says what went
// wrong, where, and the exact text the compiler prints for it. It is raised
// in one way (raise) and caught in one place, the run's entry point, which
// saves the outputs and hands the error to its caller in the result.
#pragma once

#include <cstdint>
#include <string>

namespace orrinrc {

enum class ErrorKind : uint8_t {
    Syntax,               // text that no statement of the state takes
    OpenDefinition,       // the input ends inside a definition
    MissingName,          // a resource ends without its NAME= line
    Picture,              // a BMP file that cannot be read or converted
    UnknownControlStyle,  // a control ends with a style outside 0..4
    BitmapCount,          // a BITMAP definition with a fifth BOUNDS line after both pictures
    TooLarge,             // a block or resource.bin too long for its 32-bit length
    InputUnreadable,      // the input cannot be read
    OutputWrite,          // resource.bin or resource.h cannot be written
    ScannerFatal,         // the scanner's own fatal error (it runs out of memory)
    Cancelled,            // the caller's cancel flag was raised
    Internal,             // a fault of the compiler itself: a writer lacks a field's value
};

// Where an error happened: a 1-based line and column (in bytes) and the byte
// offset in the text as the scanner reads it (CR LF counted as one line end).
// Line 0: no place in the text (an output that fails, say).
struct Location {
    uint32_t line = 0;
    uint32_t column = 0;
    uint64_t offset = 0;
};

enum class Stream : uint8_t { Out, Err };

struct Error {
    ErrorKind kind = ErrorKind::Syntax;
    int exit_code = 1;
    // The text printed for it, line ends included, on `stream`.
    std::string message;
    Stream stream = Stream::Out;
    // Text printed on standard error before the message (a control whose
    // style has no CONTROL_ADD statements names its style there).
    std::string note;
    // For a syntax error: the start condition whose rules refused the text.
    std::string state;
    Location at;
    bool located = false;  // `at` given by whoever raised it
};

// Raises the error: the run stops here and its entry point receives it.
[[noreturn]] inline void raise(Error e) { throw e; }

}  // namespace orrinrc
