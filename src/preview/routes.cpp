// Routing requests to what the page needs.
#include "preview/routes.h"

#include <cctype>

#include <nlohmann/json.hpp>

#include "preview/page.h"

namespace orrinrc::preview {

namespace {

using nlohmann::json;

json diagnostic_json(const std::string& file, const check::Diagnostic& d) {
    json notes = json::array();
    for (const check::Note& n : d.notes)
        notes.push_back({{"message", n.text}, {"line", n.at.line}, {"column", n.at.column}, {"source", n.source}});
    return {{"file", file},
            {"line", d.at.line},
            {"column", d.at.column},
            {"severity", d.severity == check::Severity::Error ? "error" : "warning"},
            {"message", d.message},
            {"source", d.source},
            {"warning", d.flag},
            {"notes", notes}};
}

json diagnostics_json(const std::string& file, const std::vector<check::Diagnostic>& all) {
    json out = json::array();
    for (const check::Diagnostic& d : all) out.push_back(diagnostic_json(file, d));
    return out;
}

json form_json(const Snapshot& s, const FormView& f) {
    json objects = json::array();
    for (const ObjectInfo& o : f.objects)
        objects.push_back({{"name", o.name},
                           {"kind", o.kind},
                           {"id", o.id},
                           {"x", o.bounds.x},
                           {"y", o.bounds.y},
                           {"width", o.bounds.width},
                           {"height", o.bounds.height},
                           {"line", o.line}});
    return {{"name", f.name},
            {"id", f.id},
            {"image", "/forms/" + f.address + ".png"},
            {"width", f.width},
            {"height", f.height},
            {"image_width", f.image_width},
            {"image_height", f.image_height},
            {"line", f.line},
            {"objects", objects},
            {"warnings", diagnostics_json(s.file, f.warnings)}};
}

Reply not_found() { return Reply{404, "text/plain; charset=utf-8", "not found\n", false}; }

}  // namespace

bool percent_decode(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
            return false;
        out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
        i += 2;
    }
    return true;
}

std::string forms_json(const Snapshot& s) {
    json forms = json::array();
    for (const FormView& f : s.forms) forms.push_back(form_json(s, f));
    const json out = {{"version", s.version},
                      {"ok", s.ok},
                      {"file", s.file},
                      {"scale", s.scale},
                      {"forms", forms},
                      {"diagnostics", diagnostics_json(s.file, s.diagnostics)}};
    // Texts of the resource file need not be UTF-8: such bytes are replaced.
    return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string snapshot_event(const Snapshot& s) { return "data: " + std::to_string(s.version) + "\n\n"; }

Reply answer(const Snapshot& s, std::string_view method, std::string_view target) {
    if (method != "GET" && method != "HEAD") return Reply{405, "text/plain; charset=utf-8", "only GET\n", false};
    const std::string_view path = target.substr(0, target.find('?'));
    for (const PageFile& file : page_files())
        if (path == file.path) return Reply{200, std::string(file.content_type), std::string(file.content), false};
    if (path == "/forms.json") return Reply{200, "application/json", forms_json(s), false};
    if (path == "/events") return Reply{200, "text/event-stream", "", true};
    constexpr std::string_view kForms = "/forms/", kPng = ".png";
    if (path.size() > kForms.size() + kPng.size() && path.substr(0, kForms.size()) == kForms &&
        path.substr(path.size() - kPng.size()) == kPng) {
        std::string address;
        if (!percent_decode(path.substr(kForms.size(), path.size() - kForms.size() - kPng.size()), address))
            return not_found();
        if (const FormView* f = s.form(address)) return Reply{200, "image/png", *f->png, false};
    }
    return not_found();
}

}  // namespace orrinrc::preview
