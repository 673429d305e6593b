// What the page shows at one moment: every form of the resource text drawn
// as orrinrc-dump --preview draws it, what a pointer over a form can read
// about its objects, and the findings of the run that made it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "check/checker.h"
#include "check/diagnostics.h"
#include "dump/canvas.h"
#include "dump/records.h"

namespace orrinrc::preview {

// An object a form lists that the image holds.
struct ObjectInfo {
    std::string name;  // empty without a NAME=
    std::string kind;  // its keyword: "CONTROL"
    uint16_t id = 0;
    dump::StoredBounds bounds;
    uint32_t line = 0;  // the line that opens its definition (0: not known)
};

struct FormView {
    std::string name;     // empty without a NAME=
    std::string address;  // its picture is /forms/ADDRESS.png: the name, or FORM_<id>; unique
    uint16_t id = 0;
    int width = 0, height = 0;              // the form's size in device pixels
    int image_width = 0, image_height = 0;  // the picture's, legend included, scaled
    uint32_t line = 0;                      // the line that opens its definition
    // The drawing and its PNG at the snapshot's scale. A form drawn the same
    // as in the snapshot before shares that snapshot's PNG: encoding is most
    // of the time a redraw takes, and an edit mostly changes one form.
    std::shared_ptr<const dump::Canvas> canvas;
    std::shared_ptr<const std::string> png;
    std::vector<ObjectInfo> objects;
    // Warnings about its definition or those of the objects it lists.
    std::vector<check::Diagnostic> warnings;
};

struct Snapshot {
    uint64_t version = 0;  // one more for every compile
    bool ok = false;       // whether the last run compiled
    std::string file;      // the resource text, as given
    int scale = 2;
    // The forms of the last run that compiled: when the last run failed,
    // these are older than its diagnostics.
    std::vector<FormView> forms;
    // Every finding of the last run, errors and warnings, in order.
    std::vector<check::Diagnostic> diagnostics;
    // The files the last run read: the text and its pictures.
    std::vector<std::string> files;

    const FormView* form(std::string_view address) const;
};

struct ProjectOptions {
    std::string file;
    // Folders for picture names that do not exist as written, after the
    // text's own folder.
    std::vector<std::string> picture_dirs;
    int scale = 2;
    check::CheckOptions check;
};

// The resource text being previewed: each refresh reads it, compiles it in
// this process with the checker listening, and draws its forms.
class Project {
public:
    explicit Project(ProjectOptions options) : options_(std::move(options)) {}

    // Compiles the text as it is now. A text that does not compile keeps
    // the forms of the last one that did.
    std::shared_ptr<const Snapshot> refresh();
    std::shared_ptr<const Snapshot> current() const { return current_; }
    const ProjectOptions& options() const { return options_; }

private:
    ProjectOptions options_;
    std::shared_ptr<const Snapshot> current_ = std::make_shared<Snapshot>();
};

// The forms of a compiled image, drawn at `scale`, named and located with
// the checker's definitions, with the warnings that concern each; the PNG of
// a form of `before` (drawn at the same scale) that looks the same is kept.
// Throws dump::DumpError for an image the dump cannot read.
std::vector<FormView> draw_forms(const std::string& bin, int scale,
                                 const std::vector<check::ResourceDefinition>& definitions,
                                 const std::vector<check::Diagnostic>& diagnostics,
                                 const std::vector<FormView>& before);

}  // namespace orrinrc::preview
