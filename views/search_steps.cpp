#include "views/search_steps.h"

#include <algorithm>

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

bool ContainsText(const std::string& haystack, const std::string& needle, LeadByteTest isLeadByte) {
    // Let the library find each candidate; only a candidate needs the walk over
    // characters that tells whether it starts on a boundary. Most rows hold no
    // candidate at all, so most rows cost one library search.
    std::size_t boundary = 0;  // start of a character, at or before every candidate left
    for (std::size_t candidate = haystack.find(needle); candidate != std::string::npos;
         candidate = haystack.find(needle, boundary)) {
        while (boundary < candidate) boundary = NextCharacter(haystack, boundary, isLeadByte);
        if (boundary == candidate) return true;
        // The candidate began on a trail byte; the next one lies at or after `boundary`.
    }
    return false;
}

std::string TextBetween(const std::string& text, int start, int end, int positionCount,
                        LeadByteTest isLeadByte) {
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
                at = NextCharacter(text, at, isLeadByte);
            return at;
        };
        from = byteOffset(from);
        to = byteOffset(to);
    }
    return to > from ? text.substr(from, to - from) : std::string();
}
