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

void PrintSink::print_json(const std::string& object) {
    const std::string text = (json_file_ ? json_with_file(object, file_) : object) + "\n";
    std::fwrite(text.data(), 1, text.size(), out_);
}

void PrintSink::diagnostic(Diagnostic d) {
    // Each diagnostic is flushed as it comes, so that a reader sees it even
    // when a later one takes long or never comes.
    // Written by length: a message may quote text that holds a NUL byte.
    if (json_) {
        print_json(render_json(d));
    } else {
        const std::string text = render(file_, d);
        std::fwrite(text.data(), 1, text.size(), out_);
    }
    std::fflush(out_);
}

void PrintSink::definition(const ResourceDefinition& r) {
    if (json_) print_json(render_json(r));
}

}  // namespace orrinrc::check
