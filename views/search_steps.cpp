#include "views/search_steps.h"

#include <algorithm>
#include <cstring>

const char kEmptySearchMessage[] = "Enter the search text in the box below.";

std::optional<int> FindMatchingRow(int rowCount, int selection, int direction,
                                   const std::function<bool(int)>& rowMatches) {
    if (rowCount <= 0) return std::nullopt;
    const int step = direction < 0 ? -1 : 1;
    const auto wrap = [rowCount](int row) {
        if (row >= rowCount) return 0;
        if (row < 0) return rowCount - 1;
        return row;
    };

    int row = (selection < 0 || selection >= rowCount) ? 0 : wrap(selection + step);
    for (int visited = 0; visited < rowCount; ++visited) {
        if (rowMatches(row)) return row;
        row = wrap(row + step);
    }
    return std::nullopt;
}

bool ContainsText(const std::string& haystack, const std::string& needle,
                  const std::function<bool(unsigned char)>& isLeadByte) {
    const std::size_t size = haystack.size();
    const std::size_t length = needle.size();
    std::size_t at = 0;
    while (at + length <= size) {
        if (std::memcmp(haystack.data() + at, needle.data(), length) == 0) return true;
        // Step over a whole character; a lead byte at the very end stands alone.
        at += (isLeadByte(static_cast<unsigned char>(haystack[at])) && at + 1 < size) ? 2 : 1;
    }
    return false;
}

std::string TextBetween(const std::string& text, int start, int end, int positionCount,
                        const std::function<bool(unsigned char)>& isLeadByte) {
    const std::size_t size = text.size();
    const auto clamp = [size](int position) {
        return position < 0 ? 0 : std::min(static_cast<std::size_t>(position), size);
    };
    std::size_t from = clamp(start), to = clamp(end);
    if (static_cast<std::size_t>(positionCount) != size) {
        // Character positions: find the bytes where characters start and end.
        const auto byteOffset = [&](std::size_t characters) {
            std::size_t at = 0;
            for (; characters > 0 && at < size; --characters)
                at += (isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < size) ? 2 : 1;
            return at;
        };
        from = byteOffset(from);
        to = byteOffset(to);
    }
    return to > from ? text.substr(from, to - from) : std::string();
}

std::string NotFoundMessage(const std::string& lowered) {
    return "\"" + lowered + "\" Not found.";
}
