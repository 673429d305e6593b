// Where a check's findings go: each diagnostic once it is complete, and each
// resource once its definition ends. orrinrc-check prints them (as text or
// as JSON lines); the language server keeps them as they are.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "check/diagnostics.h"
#include "format/format.h"

namespace orrinrc::check {

// A resource whose definition the check read.
struct ResourceDefinition {
    format::Kind kind = format::Kind::Form;
    uint16_t id = 0;
    std::string name;       // empty when it has none
    uint32_t line = 0;      // its opening line
    uint32_t end_line = 0;  // its end line
    Location named;         // its NAME= line, or its opening line
    Location id_at;         // its last ID= line; line 0 when it has none
};

class CheckSink {
public:
    virtual ~CheckSink() = default;
    virtual void diagnostic(Diagnostic d) = 0;
    virtual void definition(const ResourceDefinition& r) = 0;
};

// Keeps the findings as they come, for a program that shows them its own way.
class KeepSink final : public CheckSink {
public:
    KeepSink(std::vector<Diagnostic>& diagnostics, std::vector<ResourceDefinition>& definitions)
        : diagnostics_(diagnostics), definitions_(definitions) {}
    void diagnostic(Diagnostic d) override { diagnostics_.push_back(std::move(d)); }
    void definition(const ResourceDefinition& r) override { definitions_.push_back(r); }

private:
    std::vector<Diagnostic>& diagnostics_;
    std::vector<ResourceDefinition>& definitions_;
};

// The definition as one line of JSON, without its line end:
// {"definition":KIND,"id":N,"name":...,"line":L,"end_line":L,
//  "name_line":L,"name_column":C,"id_line":L,"id_column":C}
std::string render_json(const ResourceDefinition& r);

// Prints to a stream: diagnostics as compilers print them, naming `file`,
// and no definitions; or, with `json`, one JSON line for each of both, which
// start with "file":`file` when `json_file` is set (several files checked).
// The text is gathered and written in pieces of some kilobytes (standard
// error writes each call at once, which costs a system call per line on a
// file with many findings); flush() writes the rest, and so does the
// destructor.
class PrintSink final : public CheckSink {
public:
    PrintSink(std::string file, bool json, FILE* out, bool json_file = false)
        : file_(std::move(file)), json_(json), json_file_(json_file), out_(out) {}
    PrintSink(const PrintSink&) = delete;
    PrintSink& operator=(const PrintSink&) = delete;
    ~PrintSink() override { flush(); }
    void diagnostic(Diagnostic d) override;
    void definition(const ResourceDefinition& r) override;
    void flush();

private:
    static constexpr size_t kPiece = 1 << 16;
    void put(const std::string& text);
    // Writes the pending text once it is a piece's worth.
    void flush_if_full();
    std::string json_line(const std::string& object) const;
    std::string file_;
    bool json_;
    bool json_file_;
    FILE* out_;
    std::string pending_;
};

// A JSON object with "file":`file` put first.
std::string json_with_file(const std::string& object, const std::string& file);

}  // namespace orrinrc::check
