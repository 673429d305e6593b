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

std::string json_with_file(const std::string& object, const std::string& file) {
    return "{\"file\":" + json_string(file) + "," + object.substr(1);
}

std::string PrintSink::json_line(const std::string& object) const {
    return (json_file_ ? json_with_file(object, file_) : object) + "\n";
}

void PrintSink::diagnostic(Diagnostic d) {
    if (json_) return put(json_line(render_json(d)));
    render_to(pending_, file_, d);
    flush_if_full();
}

void PrintSink::definition(const ResourceDefinition& r) {
    if (json_) put(json_line(render_json(r)));
}

void PrintSink::put(const std::string& text) {
    pending_ += text;
    flush_if_full();
}

void PrintSink::flush_if_full() {
    if (pending_.size() >= kPiece) flush();
}

void PrintSink::flush() {
    // Written by length: a message may quote text that holds a NUL byte.
    if (!pending_.empty()) std::fwrite(pending_.data(), 1, pending_.size(), out_);
    pending_.clear();
    std::fflush(out_);
}

}  // namespace orrinrc::check
