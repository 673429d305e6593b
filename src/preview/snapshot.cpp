// Compiling the text in this process and drawing its forms with the dump's
// preview.
#include "preview/snapshot.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "check/check_run.h"
#include "check/sink.h"
#include "dump/container.h"
#include "dump/names.h"
#include "dump/preview.h"
#include "scanner/compile.h"
#include "util/files.h"

namespace orrinrc::preview {

namespace {

using check::Diagnostic;
using check::ResourceDefinition;
using format::Kind;

// The definitions by kind and identifier; a later one takes the place of an
// earlier one, as a later record does in the preview's lookup.
class Definitions {
public:
    explicit Definitions(const std::vector<ResourceDefinition>& all) {
        for (const ResourceDefinition& d : all) by_key_[{d.kind, d.id}] = &d;
    }
    const ResourceDefinition* find(Kind kind, uint16_t id) const {
        const auto it = by_key_.find({kind, id});
        return it == by_key_.end() ? nullptr : it->second;
    }

private:
    std::map<std::pair<Kind, uint16_t>, const ResourceDefinition*> by_key_;
};

// The definition a line lies in (its NAME= line included), or null.
const ResourceDefinition* definition_at(const std::vector<ResourceDefinition>& all, uint32_t line) {
    for (const ResourceDefinition& d : all)
        if (line >= std::min(d.line, d.named.line) && line <= d.end_line) return &d;
    return nullptr;
}

// Whether a warning concerns the form: it lies in the form's definition or
// in that of an object the form lists.
bool concerns(const FormView& form, const ResourceDefinition& where) {
    if (where.kind == Kind::Form) return where.id == form.id && where.line == form.line;
    for (const ObjectInfo& o : form.objects)
        if (o.id == where.id && o.line == where.line) return true;
    return false;
}

Diagnostic unreadable(const std::string& file, const std::string& why) {
    Diagnostic d;
    d.message = "cannot read " + file + ": " + why;
    return d;
}

}  // namespace

const FormView* Snapshot::form(std::string_view address) const {
    for (const FormView& f : forms)
        if (f.address == address) return &f;
    return nullptr;
}

std::vector<FormView> draw_forms(const std::string& bin, int scale, const std::vector<ResourceDefinition>& definitions,
                                 const std::vector<Diagnostic>& diagnostics, const std::vector<FormView>& before) {
    const std::vector<dump::Record> records = dump::decode_image(dump::Bytes(bin.begin(), bin.end()));
    const Definitions defined(definitions);
    dump::NameSet used;
    std::vector<FormView> forms;
    for (const dump::Record& rec : records) {
        if (rec.kind() != Kind::Form) continue;
        FormView form;
        form.id = rec.id;
        if (const ResourceDefinition* d = defined.find(Kind::Form, rec.id)) {
            form.name = d->name;
            form.line = d->line;
        }
        form.address = dump::unique_file_base(used, form.name, rec.keyword(), rec.id);
        if (const dump::Field* b = rec.find(format::FieldId::Bounds)) {
            form.width = b->bounds.width;
            form.height = b->bounds.height;
        }
        form.canvas = std::make_shared<const dump::Canvas>(dump::render_form(rec, records));
        form.image_width = form.canvas->width() * scale;
        form.image_height = form.canvas->height() * scale;
        for (const FormView& old : before)
            if (old.address == form.address && old.image_width == form.image_width && old.canvas->same_pixels(*form.canvas))
                form.png = old.png;
        if (!form.png) {
            auto png = std::make_shared<std::string>();
            std::string why;
            if (!form.canvas->encode_png(scale, *png, why))
                throw dump::DumpError{rec.offset, "cannot draw the form: " + why};
            form.png = std::move(png);
        }
        for (const dump::FormObject& o : dump::form_objects(rec, records)) {
            if (o.record == nullptr) continue;  // in the picture's legend
            ObjectInfo info;
            info.kind = o.record->keyword();
            info.id = o.record->id;
            info.bounds = o.b;
            if (const ResourceDefinition* d = defined.find(o.record->kind(), o.record->id)) {
                info.name = d->name;
                info.line = d->line;
            }
            form.objects.push_back(std::move(info));
        }
        for (const Diagnostic& d : diagnostics) {
            const ResourceDefinition* where = definition_at(definitions, d.at.line);
            if (d.severity == check::Severity::Warning && where != nullptr && concerns(form, *where))
                form.warnings.push_back(d);
        }
        forms.push_back(std::move(form));
    }
    return forms;
}

std::shared_ptr<const Snapshot> Project::refresh() {
    auto next = std::make_shared<Snapshot>();
    next->version = current_->version + 1;
    next->file = options_.file;
    next->scale = options_.scale;
    next->files.push_back(options_.file);

    uint64_t size = 0;
    const int input = files::open_regular(options_.file.c_str(), size);
    if (input < 0) {
        next->diagnostics.push_back(
            unreadable(options_.file, errno == EINVAL ? "it is not a regular file" : std::strerror(errno)));
    } else {
        std::vector<ResourceDefinition> definitions;
        check::KeepSink sink(next->diagnostics, definitions);
        RunOptions run;
        run.base_dir = files::folder_of(options_.file);
        run.picture_dirs = options_.picture_dirs;
        MemoryTarget bin, header;
        RunResult result;
        const int code = check::check_source(SourceText{input, {}}, options_.check, run, sink,
                                             CompileOutputs{&bin, &header, Console()}, result);
        files::close(input);
        for (const std::string& picture : result.pictures_read) next->files.push_back(picture);
        // The checker goes on after an unreadable picture, drawing it blank;
        // the page keeps the last good screens until the text compiles.
        if (result.ok() && code == 0) {
            try {
                next->forms = draw_forms(bin.bytes(), options_.scale, definitions, next->diagnostics, current_->forms);
                next->ok = true;
            } catch (const dump::DumpError& e) {
                next->diagnostics.push_back(unreadable("the compiled image", e.what));
            }
        }
    }
    if (!next->ok) next->forms = current_->forms;
    current_ = next;
    return current_;
}

}  // namespace orrinrc::preview
