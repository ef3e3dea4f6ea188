#include "views/shown_text_win.h"

#include <windows.h>

std::string ShownText(const std::string& text) {
    if (text.size() <= kShownTextLimit) return text;
    // Never split a double-byte character: half of one shows as some other character.
    std::size_t cut = 0;
    for (;;) {
        std::size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[cut])) ? 2 : 1;
        if (cut + step > kShownTextLimit) break;
        cut += step;
    }
    return text.substr(0, cut) + "...";
}
