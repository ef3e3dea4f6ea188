// Texts are bytes in the system code page, where a character may take two bytes: a
// lead byte and the one after it. Which bytes lead is the platform's to say, so the
// rules here are given its answer as a function.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

using LeadByteTest = bool (*)(unsigned char byte);

// Where the character that starts at `at` ends. A lead byte at the very end stands alone.
inline std::size_t NextCharacter(std::string_view text, std::size_t at, LeadByteTest isLeadByte) {
    return at + (isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1);
}

// `text` itself when it is at most `limit` bytes; otherwise as many whole characters
// of its start as fit in `limit` bytes, then "...". Half a character would show as
// some other one.
std::string Abbreviated(std::string_view text, std::size_t limit, LeadByteTest isLeadByte);
