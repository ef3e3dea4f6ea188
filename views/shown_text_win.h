// What of a journal text the controls are given. Real entries are a paragraph, but a
// damaged or hostile journal can hold one of megabytes; Wine's multi-line edit
// control takes seconds for 10 KB and minutes for 100 KB, and no row or pane could
// show that much anyway.
#pragma once

#include <cstddef>
#include <string>

#include "framework/code_page.h"
#include "journal/code_page_text.h"

constexpr std::size_t kShownTextLimit = 4096;

// `text` itself when it is at most kShownTextLimit bytes; otherwise its start, cut at
// a character boundary of the system code page, followed by "...".
inline std::string ShownText(const std::string& text) {
    return Abbreviated(text, kShownTextLimit, IsLeadByte);
}
