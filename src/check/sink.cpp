// Printing a check's findings.
#include "check/sink.h"

namespace orrinrc::check {

std::string render_json(const ResourceDefinition& r) {
    return "{\"definition\":" + json_string(format::kind_keyword(r.kind)) + ",\"id\":" + std::to_string(r.id) +
           ",\"name\":" + json_string(r.name) + ",\"line\":" + std::to_string(r.line) +
           ",\"end_line\":" + std::to_string(r.end_line) + ",\"name_line\":" + std::to_string(r.named.line) +
           ",\"name_column\":" + std::to_string(r.named.column) + ",\"id_line\":" + std::to_string(r.id_at.line) +
           ",\"id_column\":" + std::to_string(r.id_at.column) + "}";
}

void PrintSink::diagnostic(Diagnostic d) { put(json_ ? render_json(d) + "\n" : render(file_, d)); }

void PrintSink::definition(const ResourceDefinition& r) {
    if (json_) put(render_json(r) + "\n");
}

void PrintSink::put(const std::string& text) {
    pending_ += text;
    if (pending_.size() >= kPiece) flush();
}

void PrintSink::flush() {
    // Written by length: a message may quote text that holds a NUL byte.
    if (!pending_.empty()) std::fwrite(pending_.data(), 1, pending_.size(), out_);
    pending_.clear();
    std::fflush(out_);
}

}  // namespace orrinrc::check
