// The language server: reads requests and notifications, keeps the open
// documents, and answers with diagnostics, completions, hovers, document
// symbols and definitions drawn from runs of the compiler's own scanner.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "check/checker.h"
#include "lsp/analysis.h"
#include "lsp/document.h"
#include "lsp/json_text.h"
#include "lsp/transport.h"

namespace orrinrc::lsp {

struct ServerOptions {
    check::CheckOptions check;
    std::vector<std::string> picture_dirs;  // -I folders, in order
    int check_time_limit_ms = 10000;  // a whole document
    int probe_time_limit_ms = 5000;   // the text up to a place
    size_t message_limit = 256u << 20;
};

class Server {
public:
    Server(Transport& transport, ServerOptions options);
    // Serves until the exit notification, the end of the input or the loss
    // of the output; returns the exit code for the process: 0 after a
    // shutdown request, 1 otherwise.
    int run();

private:
    struct Open {
        std::string uri;
        std::string folder;  // where its pictures are looked up
        std::vector<std::string> picture_dirs;  // and then these folders
        int64_t version = 0;
        Document doc;
        int64_t checked = -1;  // the version the last check read
        std::vector<check::ResourceDefinition> definitions;
    };
    using json = nlohmann::json;

    void handle(json& message);
    // Writes the result of a request; false for an unknown method.
    bool request(const std::string& method, const json& params, JsonText& result);
    void notification(const std::string& method, json& params);

    void respond_error(const json& id, int code, const std::string& message);
    void notify(std::string_view method, std::string_view params);
    // Sends one message; a failure (the editor has gone) ends the run.
    void send(const std::string& body);

    // Checks the documents whose text changed since their last check and
    // publishes their diagnostics.
    void check_changed();
    void check(Open& open);

    Open* find(const json& params);
    std::vector<std::string> document_picture_dirs(const std::string& uri) const;
    json range(const Document& doc, size_t line, size_t from, size_t to) const;
    json position(const Document& doc, size_t line, size_t column) const;
    void put_range(JsonText& out, const Document& doc, size_t line, size_t from, size_t to) const;
    void put_position(JsonText& out, const Document& doc, size_t line, size_t column) const;

    json completion(Open& open, const json& params);
    json hover(Open& open, const json& params);
    json definition(Open& open, const json& params);
    void symbols(Open& open, JsonText& out);

    // The scanner's matches from `from` on, over the text up to `cut` and
    // `tail`. When a mistake above stops the scan before `from`, the scan
    // starts again at the definition that holds `from` (or after the last
    // one that ended before it), so that one mistake does not take the help
    // away from every line below it.
    ProbeOutcome probe(const Open& open, size_t cut, const std::string& tail, size_t from);
    // The scanner's matches on a whole line.
    struct LineMatches {
        std::vector<Match> matches;
        size_t line_start = 0;
    };
    std::optional<LineMatches> line_matches(Open& open, size_t line);

    Transport& transport_;
    ServerOptions options_;
    PositionUnits units_ = PositionUnits::Utf16;
    bool initialized_ = false;
    bool shutting_down_ = false;
    std::optional<int> exit_code_;  // set when the run is to end
    std::map<std::string, Open> documents_;
};

}  // namespace orrinrc::lsp
