// The page's files, from the text that cmake/EmbedText.cmake writes into the
// build tree.
#include "preview/page.h"

namespace orrinrc::preview {

namespace {
#include "preview_page_files.inc"
}  // namespace

std::span<const PageFile> page_files() {
    static constexpr PageFile kFiles[] = {
        {"/", "text/html; charset=utf-8", kIndexHtml},
        {"/preview.css", "text/css; charset=utf-8", kPreviewCss},
        {"/preview.js", "text/javascript; charset=utf-8", kPreviewJs},
    };
    return kFiles;
}

}  // namespace orrinrc::preview
