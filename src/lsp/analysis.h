// The compiler's scanner run over a document's text for the server, in this
// process. Picture names are taken from the document's folder, as they are
// when the file is compiled there. A run that takes too long is cancelled.
#pragma once

#include "format/language.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/checker.h"
#include "check/sink.h"

namespace orrinrc::lsp {

struct CheckOutcome {
    std::vector<check::Diagnostic> diagnostics;
    std::vector<check::ResourceDefinition> definitions;
    bool completed = false;  // false: the run failed or took too long
};

// Checks `text` as orrinrc-check checks a file.
CheckOutcome check_text(const std::string& text, const std::string& folder,
                        const std::vector<std::string>& picture_dirs, const check::CheckOptions& options,
                        int time_limit_ms);

// One match of the scanner: where it starts, how long it is and the start
// condition it was matched in.
struct Match {
    size_t offset = 0;
    size_t length = 0;
    format::State state = format::State::Initial;
};

struct ProbeOutcome {
    // The matches that start at or after `from`, in order (text that a rule
    // gave back is no part of its match).
    std::vector<Match> matches;
    // The last match that started before `from`, if any.
    std::optional<Match> before;
    bool completed = false;
};

// Runs the scanner over text[0, cut) followed by `tail` (a character that
// no statement starts with, to learn the state at `cut`; or a line end, to
// complete the line at `cut`), and reports its matches from `from` on.
ProbeOutcome probe_text(const std::string& text, size_t cut, const std::string& tail, size_t from,
                        const std::string& folder, const std::vector<std::string>& picture_dirs,
                        int time_limit_ms);

}  // namespace orrinrc::lsp
