// Windows' own dialog for choosing a file to open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Shows the dialog over `owner`, captioned `title` and starting in `folder` (UTF-8).
// `filter` holds pairs of a label and its patterns, each ended by a zero, the whole
// by another, as the platform takes them. The chosen file's path (UTF-8), or none
// when the user cancelled.
std::optional<std::string> AskFileToOpen(HWND owner, const std::string& title,
                                         std::string_view filter, const std::string& folder);
