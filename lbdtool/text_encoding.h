// Text files saved in Unicode, for `build`: Notepad and PowerShell begin them with a
// byte order mark, and the texts must come back in the system code page, the one
// journal.htm and quests.lbd are written in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lbdtool/text_form.h"

// Appends the UTF-8 bytes of `c` to `out`.
void AppendUtf8(char32_t c, std::string& out);

// The text file's bytes in the system code page. One that begins with a UTF-8 or
// UTF-16 byte order mark is decoded by its encoding and converted, line by line;
// `errors` receives each line that isn't valid in that encoding or holds a character
// the code page lacks, and what comes back is then of no use. Any other file is taken
// byte for byte.
std::string InSystemCodePage(std::string_view bytes, std::vector<TextLineError>& errors);
