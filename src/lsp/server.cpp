// Requests and notifications of the language server.
#include "lsp/server.h"

#include <algorithm>
#include <cctype>

#include "check/hints.h"
#include "format/format.h"
#include "lsp/picture_dirs.h"

namespace orrinrc::lsp {

namespace {

using json = nlohmann::json;
using format::Kind;

// JSON-RPC and protocol error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;

// Completion item and symbol kinds of the protocol.
constexpr int kItemKeyword = 14;
constexpr int kItemEnumMember = 20;
constexpr int kSymbolClass = 5;
constexpr int kSymbolObject = 19;

// Text written for the editor; bytes that are no UTF-8 become U+FFFD.
std::string dump(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_word(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

// A statement as the scanner takes it: without its line prefix "(...)",
// blanks and line end, in capitals.
std::string normalize(std::string_view t) {
    if (!t.empty() && t[0] == '(') {
        const size_t close = t.find(')');
        if (close != std::string_view::npos) t.remove_prefix(close + 1);
    }
    std::string out;
    for (char c : t) {
        if (is_blank(c) || c == '\r' || c == '\n') continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string percent_decode(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The folder of a file: URI's document, or "" for another kind of URI.
std::string folder_of(const std::string& uri) {
    if (!starts_with(uri, "file://")) return "";
    std::string path = percent_decode(std::string_view(uri).substr(7));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The summary of a statement of a kind, in any of the spellings that the
// scanner takes (a check-box line without its CONTROL_ADD., "ITEM2=").
std::string summary(Kind kind, const std::string& statement) { return check::statement_summary(kind, statement); }

// What a line holds, from the scanner's matches on it.
struct LineParts {
    std::optional<Kind> kind;
    std::string statement;  // the statement's parts as one ("BOUNDS.X=")
    size_t statement_begin = 0, statement_end = 0;  // byte columns
    std::optional<Match> value;  // columns in offset
    std::string value_text;
};

LineParts line_parts(const std::vector<Match>& matches, size_t line_start, std::string_view line) {
    LineParts parts;
    bool have_statement = false;
    for (const Match& m : matches) {
        if (m.length == 0 || m.offset < line_start) continue;
        const size_t col = m.offset - line_start;
        if (col >= line.size() + 2) break;
        const std::string_view text = line.substr(std::min(col, line.size()), m.length);
        if (check::value_state(m.state)) {
            if (!parts.value && have_statement) {
                parts.value = Match{col, std::min(m.length, line.size() - std::min(col, line.size())), m.state};
                parts.value_text = std::string(text);
            }
            continue;
        }
        if (parts.value) break;  // the value ends the statement
        if (text.empty() || text[0] == '\n' || text[0] == '\r' || starts_with(text, "//")) continue;
        if (m.state == format::State::Initial) {
            // Only the opening line of a definition is a statement here.
            const std::string word = normalize(text);
            for (const format::KindInfo& k : format::all_kinds())
                if (word == k.open_statement) {
                    parts.kind = k.kind;
                    parts.statement = word;
                    parts.statement_begin = col;
                    parts.statement_end = std::min(col + m.length, line.size());
                    have_statement = true;
                }
            continue;
        }
        if (!have_statement) {
            parts.kind = check::state_kind(m.state);
            parts.statement_begin = col;
        }
        have_statement = true;
        parts.statement += normalize(text);
        parts.statement_end = std::min(col + m.length, line.size());
    }
    return parts;
}

// A number as a value line writes it, and whether it is one.
std::optional<int64_t> number_in(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && is_blank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
    int64_t magnitude = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
        magnitude = std::min<int64_t>(magnitude * 10 + (s[i] - '0'), int64_t{1} << 40);
    return negative ? -magnitude : magnitude;
}

}  // namespace

Server::Server(Transport& transport, ServerOptions options) : transport_(transport), options_(options) {}

int Server::run() {
    while (!exit_code_) {
        Transport::Received in = transport_.receive(options_.message_limit);
        if (in.status == Transport::Status::End) return shutting_down_ ? 0 : 1;
        if (in.status == Transport::Status::NoLength) {
            respond_error(nullptr, kParseError, "a message header without Content-Length");
        } else if (in.status == Transport::Status::TooLarge) {
            respond_error(nullptr, kInvalidRequest, "the message is larger than the server takes");
        } else {
            json message = json::parse(in.body, nullptr, false);
            std::string().swap(in.body);  // a whole document, maybe: not kept while it is handled
            if (message.is_discarded()) respond_error(nullptr, kParseError, "the message is no JSON");
            else handle(message);
        }
        // Documents are checked once the editor has nothing more to say,
        // so that a burst of changes costs one check.
        if (!exit_code_ && !transport_.pending()) check_changed();
    }
    return *exit_code_;
}

void Server::handle(json& message) {
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // A response to a request of ours would have no method; the server
        // sends none, so anything without one is no valid request.
        if (message.is_object() && (message.contains("result") || message.contains("error"))) return;
        const json id = message.is_object() && message.contains("id") ? message["id"] : json(nullptr);
        respond_error(id, kInvalidRequest, "no method");
        return;
    }
    const std::string method = message["method"];
    // Taken, not copied: a document's text is handed on to the document.
    json params = message.contains("params") ? std::move(message["params"]) : json::object();
    const bool is_request = message.contains("id");
    const json id = is_request ? message["id"] : json(nullptr);
    if (is_request && !(id.is_string() || id.is_number_integer())) {
        respond_error(nullptr, kInvalidRequest, "the request's id is neither a number nor a string");
        return;
    }
    if (!is_request) {
        if (method == "exit") {
            exit_code_ = shutting_down_ ? 0 : 1;
            return;
        }
        try {
            if (initialized_ || method == "initialized") notification(method, params);
        } catch (const json::exception&) {
            // A notification with parameters of the wrong shape is dropped.
        }
        return;
    }
    if (!initialized_ && method != "initialize") {
        respond_error(id, kServerNotInitialized, "the server has not been initialized");
        return;
    }
    if (initialized_ && method == "initialize") {
        respond_error(id, kInvalidRequest, "the server is initialized already");
        return;
    }
    if (shutting_down_) {
        respond_error(id, kInvalidRequest, "the server is shutting down");
        return;
    }
    try {
        // The answer is written after its envelope, in one string.
        JsonText answer;
        answer.begin_object().key("id").raw(dump(id)).key("jsonrpc").value("2.0").key("result");
        if (request(method, params, answer)) send(answer.end_object().text());
        else respond_error(id, kMethodNotFound, "no such method: " + method);
    } catch (const json::exception& e) {
        respond_error(id, kInvalidParams, std::string("invalid parameters: ") + e.what());
    }
}

bool Server::request(const std::string& method, const json& params, JsonText& result) {
    if (method == "initialize") {
        initialized_ = true;
        // Byte columns are the checker's own: taken when the editor can count them.
        const json& caps = params.value("capabilities", json::object());
        if (caps.contains("general") && caps["general"].contains("positionEncodings"))
            for (const json& e : caps["general"]["positionEncodings"])
                if (e == "utf-8") units_ = PositionUnits::Utf8;
        result.raw(dump(json{
            {"capabilities",
             {{"positionEncoding", units_ == PositionUnits::Utf8 ? "utf-8" : "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"completionProvider", {{"triggerCharacters", {"=", ".", "#"}}}},
              {"hoverProvider", true},
              {"documentSymbolProvider", true},
              {"definitionProvider", true}}},
            {"serverInfo", {{"name", "orrinrc-lsp"}}}}));
        return true;
    }
    if (method == "shutdown") {
        shutting_down_ = true;
        result.raw("null");
        return true;
    }
    const bool document_request = method == "textDocument/completion" || method == "textDocument/hover" ||
                                  method == "textDocument/definition" || method == "textDocument/documentSymbol";
    if (!document_request) return false;
    Open* open = find(params);
    if (open == nullptr) result.raw("null");  // a document that is not open: nothing to say
    else if (method == "textDocument/completion") result.raw(dump(completion(*open, params)));
    else if (method == "textDocument/hover") result.raw(dump(hover(*open, params)));
    else if (method == "textDocument/definition") result.raw(dump(definition(*open, params)));
    else symbols(*open, result);
    return true;
}

// The -I folders, then those the build gives a file: URI's document.
std::vector<std::string> Server::document_picture_dirs(const std::string& uri) const {
    if (!starts_with(uri, "file://")) return options_.picture_dirs;
    return picture_dirs_for(options_.picture_dirs, percent_decode(std::string_view(uri).substr(7)));
}

void Server::notification(const std::string& method, json& params) {
    if (method == "textDocument/didOpen") {
        json& td = params.at("textDocument");
        const std::string uri = td.at("uri");
        Open open;
        open.uri = uri;
        open.folder = folder_of(uri);
        open.picture_dirs = document_picture_dirs(uri);
        open.version = td.value("version", int64_t{0});
        open.doc.set_text(std::move(td.at("text").get_ref<std::string&>()));
        documents_[uri] = std::move(open);
    } else if (method == "textDocument/didChange") {
        Open* open = find(params);
        if (open == nullptr) return;
        for (json& change : params.at("contentChanges")) {
            std::string& text = change.at("text").get_ref<std::string&>();
            if (change.contains("range")) {
                // at(): a range without one of its parts is a wrong shape, not
                // a read of a value that is not there.
                const json& r = change["range"];
                open->doc.replace(Position{r.at("start").at("line"), r.at("start").at("character")},
                                  Position{r.at("end").at("line"), r.at("end").at("character")}, text, units_);
            } else {
                open->doc.set_text(std::move(text));
            }
        }
        open->version = params["textDocument"].value("version", open->version + 1);
        open->checked = -1;
    } else if (method == "textDocument/didSave") {
        // Pictures may have changed with the file, and the build's picture
        // folders with the build: check again.
        if (Open* open = find(params)) {
            open->picture_dirs = document_picture_dirs(open->uri);
            open->checked = -1;
        }
    } else if (method == "textDocument/didClose") {
        const std::string uri = params.at("textDocument").at("uri");
        if (documents_.erase(uri) > 0)
            notify("textDocument/publishDiagnostics", dump({{"uri", uri}, {"diagnostics", json::array()}}));
    }
}

Server::Open* Server::find(const json& params) {
    if (!params.is_object() || !params.contains("textDocument")) return nullptr;
    const json& td = params["textDocument"];
    if (!td.is_object() || !td.contains("uri") || !td["uri"].is_string()) return nullptr;
    const auto it = documents_.find(td["uri"].get<std::string>());
    return it == documents_.end() ? nullptr : &it->second;
}

// The messages are written as text; their keys in sorted order, as a tree
// of values prints them.
void Server::send(const std::string& body) {
    if (exit_code_) return;
    if (!transport_.send(body)) exit_code_ = 1;
}

void Server::respond_error(const json& id, int code, const std::string& message) {
    send(dump({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}));
}

void Server::notify(std::string_view method, std::string_view params) {
    std::string body = "{\"jsonrpc\":\"2.0\",\"method\":";
    append_json_string(body, method);
    body += ",\"params\":";
    body += params;
    body += '}';
    send(body);
}

json Server::position(const Document& doc, size_t line, size_t column) const {
    const Position p = doc.position(line, column, units_);
    return {{"line", p.line}, {"character", p.character}};
}

json Server::range(const Document& doc, size_t line, size_t from, size_t to) const {
    return {{"start", position(doc, line, from)}, {"end", position(doc, line, to)}};
}

void Server::put_position(JsonText& out, const Document& doc, size_t line, size_t column) const {
    const Position p = doc.position(line, column, units_);
    out.begin_object().key("character").value(p.character).key("line").value(p.line).end_object();
}

void Server::put_range(JsonText& out, const Document& doc, size_t line, size_t from, size_t to) const {
    out.begin_object().key("end");
    put_position(out, doc, line, to);
    out.key("start");
    put_position(out, doc, line, from);
    out.end_object();
}

// ---------------------------------------------------------------- diagnostics

void Server::check_changed() {
    for (auto& [uri, open] : documents_)
        if (open.checked != open.version) check(open);
}

void Server::check(Open& open) {
    CheckOutcome outcome = check_text(open.doc.text(), open.folder, open.picture_dirs, options_.check,
                                      options_.check_time_limit_ms);
    open.checked = open.version;
    open.definitions = std::move(outcome.definitions);
    const Document& doc = open.doc;
    // The range of a place: the word there (up to and with its first '=' or
    // '.', as the messages quote it), at least one character when the line
    // has one; no place is the start of the document.
    auto place = [&](JsonText& out, check::Location at) {
        if (at.line == 0) return put_range(out, doc, 0, 0, 0);
        const size_t l = std::min<size_t>(at.line - 1, doc.line_count() - 1);
        const std::string_view text = doc.line(l);
        const size_t from = std::min<size_t>(at.column > 0 ? at.column - 1 : 0, text.size());
        size_t to = from;
        while (to < text.size() && !is_blank(text[to])) {
            const char c = text[to++];
            if (c == '=' || c == '.') break;
        }
        if (to == from && to < text.size()) ++to;
        put_range(out, doc, l, from, to);
    };
    JsonText out;
    out.begin_object().key("jsonrpc").value("2.0").key("method").value("textDocument/publishDiagnostics");
    out.key("params").begin_object().key("diagnostics").begin_array();
    for (const check::Diagnostic& d : outcome.diagnostics) {
        // A note without a place is part of the message; one with a place is
        // related information.
        std::string message = d.message;
        bool related = false;
        for (const check::Note& n : d.notes) {
            if (n.at.line == 0) message += "\nnote: " + n.text;
            else related = true;
        }
        out.begin_object();
        // A warning's code is its name, which follows the last "-W" of its flag.
        if (const size_t w = d.flag.rfind("-W"); w != std::string::npos)
            out.key("code").value(std::string_view(d.flag).substr(w + 2));
        out.key("message").value(message).key("range");
        place(out, d.at);
        if (related) {
            out.key("relatedInformation").begin_array();
            for (const check::Note& n : d.notes) {
                if (n.at.line == 0) continue;
                out.begin_object().key("location").begin_object().key("range");
                place(out, n.at);
                out.key("uri").value(open.uri).end_object();
                out.key("message").value(n.text).end_object();
            }
            out.end_array();
        }
        out.key("severity").value(d.severity == check::Severity::Error ? 1 : 2);
        out.key("source").value("orrinrc").end_object();
    }
    if (!outcome.completed) {
        out.begin_object().key("message").value("the check of this document did not finish in time").key("range");
        put_range(out, doc, 0, 0, 0);
        out.key("severity").value(2).key("source").value("orrinrc").end_object();
    }
    out.end_array().key("uri").value(open.uri).key("version").value(open.version).end_object().end_object();
    send(out.text());
}

// ---------------------------------------------------------------- probes

ProbeOutcome Server::probe(const Open& open, size_t cut, const std::string& tail, size_t from) {
    const Document& doc = open.doc;
    ProbeOutcome outcome = probe_text(doc.text(), cut, tail, from, open.folder, open.picture_dirs, options_.probe_time_limit_ms);
    if (!outcome.matches.empty() || !outcome.completed) return outcome;
    size_t line = 0;
    while (line + 1 < doc.line_count() && doc.line_start(line + 1) <= from) ++line;
    size_t start = 0;
    for (size_t l = line; l-- > 0;) {
        const std::string word = normalize(doc.line(l));
        if (word.size() < 2 || word[0] != '#' || doc.line(l)[0] != '#') continue;
        bool open_line = false;
        for (const format::KindInfo& k : format::all_kinds()) open_line |= word == k.open_statement;
        if (open_line || starts_with(word, "#END_")) {
            start = doc.line_start(open_line ? l : l + 1);
            break;
        }
    }
    if (start == 0) return outcome;
    ProbeOutcome again = probe_text(doc.text().substr(start), cut - start, tail, from - start, open.folder,
                                    open.picture_dirs, options_.probe_time_limit_ms);
    for (Match& m : again.matches) m.offset += start;
    if (again.before) again.before->offset += start;
    return again;
}

// ---------------------------------------------------------------- completion

namespace {

// The control style that the lines of a CONTROL definition before `line`
// give, if one does (else it is the previous control's, not known here).
std::optional<uint32_t> control_style_before(const Document& doc, size_t line) {
    for (size_t l = line; l-- > 0;) {
        const std::string_view text = doc.line(l);
        if (text.empty() || text[0] == '#') return std::nullopt;  // the definition's opening line
        const size_t eq = text.find('=');
        if (eq == std::string_view::npos) continue;
        const check::FoundStatement s = check::find_in_kind(Kind::Control, normalize(text.substr(0, eq + 1)));
        if (s.own == nullptr || s.own->field != format::FieldId::ControlStyle) continue;
        const format::WordInfo* w = format::find_word(format::State::ControlStyle, normalize(text.substr(eq + 1)));
        return w ? std::optional<uint32_t>(w->code) : std::nullopt;
    }
    return std::nullopt;
}

// Whether a statement of a CONTROL's own lines serves the control's style:
// the repeat button's picture serves no other style.
bool serves_style(const std::string& statement, std::optional<uint32_t> style) {
    if (!style || *style == format::kRepeatButton) return true;
    for (format::FieldId f : check::statement_fields(Kind::Control, statement))
        if (f == format::FieldId::RepeatBitmap) return false;
    return true;
}

}  // namespace

json Server::completion(Open& open, const json& params) {
    const Document& doc = open.doc;
    const Position at{params.at("position").at("line"), params.at("position").at("character")};
    json items = json::array();
    if (at.line >= doc.line_count()) return items;
    const std::string_view line = doc.line(at.line);
    const size_t cursor = doc.offset(at, units_) - doc.line_start(at.line);
    // The word being typed starts after the last character that no word holds;
    // a '#' opens the word of a #KIND or #END_KIND line.
    size_t word = cursor;
    while (word > 0 && is_word(line[word - 1])) --word;
    if (word > 0 && line[word - 1] == '#') --word;
    const size_t line_start = doc.line_start(at.line);
    const size_t cut = line_start + word;
    // The scanner's state at the word: the text up to it, then a character
    // that no rule takes as the start of a statement or a word.
    const ProbeOutcome probe = this->probe(open, cut, "\x01", line_start);
    std::optional<Match> state = probe.before;
    for (const Match& m : probe.matches)
        if (m.offset <= cut) state = m;
    if (!state || state->offset + state->length < cut) return items;  // the scan stopped before the word
    const format::State st = state->state;
    // The kind of the definition, from the state of the line's first match.
    std::optional<Kind> kind = check::state_kind(st);
    for (const Match& m : probe.matches)
        if (m.offset >= line_start && !check::value_state(m.state)) {
            if (auto k = check::state_kind(m.state)) kind = k;
            break;
        }
    const std::string typed_prefix = normalize(line.substr(0, word));  // "CONTROL_ADD.", "BOUNDS."
    const json edit_range = range(doc, at.line, word, cursor);
    auto add = [&](const std::string& label, int item_kind, const std::string& detail) {
        json item = {{"label", label}, {"kind", item_kind}, {"filterText", label},
                     {"textEdit", {{"range", edit_range}, {"newText", label}}}};
        if (!detail.empty()) item["detail"] = detail;
        items.push_back(std::move(item));
    };

    if (st == format::State::Initial) {
        if (!typed_prefix.empty()) return items;
        for (const format::KindInfo& k : format::all_kinds())
            add(k.open_statement, kItemKeyword, check::statement_summary(k.kind, k.open_statement));
        add(format::kNameStatement, kItemKeyword, check::statement_summary(Kind::Form, format::kNameStatement));
        return items;
    }
    if (auto own = check::definition_kind(st)) {
        // Statements start lines, after a line prefix "(...)" at most.
        if (!typed_prefix.empty()) return items;
        const std::optional<uint32_t> style =
            *own == Kind::Control ? control_style_before(doc, at.line) : std::nullopt;
        for (const std::string& s : check::kind_statements(*own))
            if (serves_style(s, style)) add(s, kItemKeyword, check::statement_summary(*own, s));
        add(format::kNameStatement, kItemKeyword, check::statement_summary(*own, format::kNameStatement));
        return items;
    }
    const check::StateHelp help = check::state_help(st);
    if (help.choices.empty()) return items;  // numbers and texts: nothing to choose from
    const bool words = check::value_state(st);
    for (size_t i = 0; i < help.choices.size(); ++i) {
        const std::string& c = help.choices[i];
        std::string detail;
        if (words) detail = help.place + ", stored as " + std::to_string(i);
        else if (kind) detail = summary(*kind, typed_prefix + c);
        add(c, words ? kItemEnumMember : kItemKeyword, detail);
    }
    return items;
}

// ---------------------------------------------------------------- hover

std::optional<Server::LineMatches> Server::line_matches(Open& open, size_t line) {
    const Document& doc = open.doc;
    if (line >= doc.line_count()) return std::nullopt;
    const size_t start = doc.line_start(line);
    size_t end = doc.line_end(line);
    // The whole line with its line end, so that its value is read.
    const bool has_end = end < doc.text().size();
    if (has_end) ++end;
    ProbeOutcome probe = this->probe(open, end, has_end ? "" : "\n", start);
    if (probe.matches.empty()) return std::nullopt;
    return LineMatches{std::move(probe.matches), start};
}

json Server::hover(Open& open, const json& params) {
    const Document& doc = open.doc;
    const Position at{params.at("position").at("line"), params.at("position").at("character")};
    const std::optional<LineMatches> lm = line_matches(open, at.line);
    if (!lm) return nullptr;
    const std::string_view line = doc.line(at.line);
    const size_t cursor = doc.offset(at, units_) - lm->line_start;
    const LineParts parts = line_parts(lm->matches, lm->line_start, line);
    if (!parts.kind || parts.statement.empty()) return nullptr;
    const std::string about = summary(*parts.kind, parts.statement);
    if (about.empty()) return nullptr;
    std::string text = "`" + parts.statement + "` " + about;
    size_t from = parts.statement_begin, to = parts.statement_end;
    if (parts.value && cursor >= parts.value->offset && cursor <= parts.value->offset + parts.value->length) {
        // On the value: what is stored of it.
        from = parts.value->offset;
        std::string_view value = parts.value_text;
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r' || is_blank(value.back())))
            value.remove_suffix(1);
        to = from + value.size();
        const format::State st = parts.value->state;
        const check::StateHelp help = check::state_help(st);
        if (const format::NumberReader* r = format::number_reader(st); r && number_in(value)) {
            const int64_t v = *number_in(value);
            const int64_t stored = format::stored_number(*r, v);
            text += "\n\n`" + std::string(value) + "` ";
            if (v < r->min || v > r->max)
                text += "does not fit " + std::string(r->what) + " (" + std::to_string(r->min) + " to " +
                        std::to_string(r->max) + "): it is stored as " + std::to_string(stored);
            else if (stored != v)
                text += "is stored as " + std::to_string(stored);
            else
                text += "is stored as it is";
        } else if (!help.choices.empty()) {
            const std::string word = normalize(value);
            const auto it = std::find(help.choices.begin(), help.choices.end(), word);
            if (it != help.choices.end())
                text += "\n\n`" + word + "` is stored as " + std::to_string(it - help.choices.begin());
        }
    } else if (cursor < parts.statement_begin || cursor > parts.statement_end) {
        return nullptr;
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", range(doc, at.line, from, to)}};
}

// ---------------------------------------------------------------- definitions

json Server::definition(Open& open, const json& params) {
    const Position at{params.at("position").at("line"), params.at("position").at("character")};
    const std::optional<LineMatches> lm = line_matches(open, at.line);
    if (!lm) return nullptr;
    const LineParts parts = line_parts(lm->matches, lm->line_start, open.doc.line(at.line));
    if (!parts.kind || !parts.value) return nullptr;
    // The statements whose value is another resource's identifier.
    bool names_object = false;
    for (format::FieldId f : check::statement_fields(*parts.kind, parts.statement)) {
        using format::FieldId;
        if (f == FieldId::FormObjectId || f == FieldId::FormFocused || f == FieldId::RelatedTableId ||
            f == FieldId::ListRelatedObject || f == FieldId::CellUiObjectId)
            names_object = true;
    }
    const std::optional<int64_t> id = number_in(parts.value_text);
    if (!names_object || !id) return nullptr;
    if (open.checked != open.version) check(open);
    for (const check::ResourceDefinition& d : open.definitions) {
        if (d.id != static_cast<uint16_t>(*id)) continue;
        const size_t line = (d.id_at.line ? d.id_at.line : d.line) - 1;
        const size_t column = d.id_at.line ? d.id_at.column - 1 : 0;
        return {{"uri", open.uri}, {"range", range(open.doc, line, column, open.doc.line(line).size())}};
    }
    return nullptr;
}

void Server::symbols(Open& open, JsonText& out) {
    if (open.checked != open.version) check(open);
    const Document& doc = open.doc;
    out.begin_array();
    for (const check::ResourceDefinition& d : open.definitions) {
        if (d.line == 0 || d.end_line < d.line) continue;
        const size_t first = d.line - 1, last = std::min<size_t>(d.end_line - 1, doc.line_count() - 1);
        const bool named_inside = d.named.line >= d.line && d.named.line <= d.end_line;
        const size_t sel = named_inside ? d.named.line - 1 : first;
        const char* kind = format::kind_keyword(d.kind);
        out.begin_object();
        out.key("detail").value(std::string(kind) + " ID=" + std::to_string(d.id));
        out.key("kind").value(d.kind == Kind::Form ? kSymbolClass : kSymbolObject);
        out.key("name").value(d.name.empty() ? std::string_view("(no NAME)") : std::string_view(d.name));
        out.key("range").begin_object().key("end");
        put_position(out, doc, last, doc.line(last).size());
        out.key("start");
        put_position(out, doc, first, 0);
        out.end_object();
        out.key("selectionRange");
        put_range(out, doc, sel, 0, doc.line(sel).size());
        out.end_object();
    }
    out.end_array();
}

}  // namespace orrinrc::lsp
