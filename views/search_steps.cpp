#include "views/search_steps.h"

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
    // Let the library find each candidate; only a candidate needs the walk over
    // characters that tells whether it starts on a boundary. Most rows hold no
    // candidate at all, so most rows cost one library search.
    const std::size_t size = haystack.size();
    std::size_t boundary = 0;  // start of a character, at or before every candidate left
    for (std::size_t candidate = haystack.find(needle); candidate != std::string::npos;
         candidate = haystack.find(needle, boundary)) {
        while (boundary < candidate) {
            // Step over a whole character; a lead byte at the very end stands alone.
            boundary +=
                (isLeadByte(static_cast<unsigned char>(haystack[boundary])) && boundary + 1 < size)
                    ? 2
                    : 1;
        }
        if (boundary == candidate) return true;
        // The candidate began on a trail byte; the next one lies at or after `boundary`.
    }
    return false;
}

std::string NotFoundMessage(const std::string& lowered) {
    return "\"" + lowered + "\" Not found.";
}
