#include "journal/code_page_text.h"

std::string Abbreviated(std::string_view text, std::size_t limit, LeadByteTest isLeadByte) {
    if (text.size() <= limit) return std::string(text);
    std::size_t cut = 0;
    for (std::size_t next; (next = NextCharacter(text, cut, isLeadByte)) <= limit;) cut = next;
    return std::string(text.substr(0, cut)) + "...";
}
