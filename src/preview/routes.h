// What the server answers: a request's method and target mapped to the
// page, its script and style (built into the program), a form's picture,
// the list of forms or the event stream. Nothing here opens a file: a
// target is only ever compared with these names, so no URL reaches the
// file system.
#pragma once

#include <string>
#include <string_view>

#include "preview/snapshot.h"

namespace orrinrc::preview {

struct Reply {
    int status = 200;
    std::string content_type;
    std::string body;
    // The answer is the event stream: the server keeps the connection and
    // writes an event for every new snapshot.
    bool event_stream = false;
};

// The answer to `method` `target` (the request line's target, query
// included) from the snapshot.
Reply answer(const Snapshot& snapshot, std::string_view method, std::string_view target);

// The list of forms and the diagnostics as JSON (/forms.json).
std::string forms_json(const Snapshot& snapshot);

// The event that tells the page a snapshot is there (one "data:" line with
// its version).
std::string snapshot_event(const Snapshot& snapshot);

// `text` with its %XX escapes decoded; false when an escape is malformed.
bool percent_decode(std::string_view text, std::string& out);

}  // namespace orrinrc::preview
