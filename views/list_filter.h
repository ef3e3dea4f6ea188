#pragma once

#include <cstdint>
#include <vector>

#include "journal/journal_entry.h"

// What the journal list shows for the current filters.
struct JournalListing {
    std::vector<std::int32_t> rows;  // journal positions, one per row, ascending
    // Positions whose `collated` is neither 0 nor 1; they are left out of `rows`
    // and each deserves an error message.
    std::vector<std::int32_t> badEntries;
};

// Whether the list shows the entry under these filters.
inline bool IsListed(const JournalEntry& entry, bool showUnknown, bool showCollated) {
    return entry.collated == 0 ? showUnknown : entry.collated == 1 && showCollated;
}

// Lists entries that no quest holds (`collated` 0) when showUnknown is set and
// collated ones (`collated` 1) when showCollated is set, in journal order.
JournalListing FilterJournal(const std::vector<JournalEntry>& journal, bool showUnknown,
                             bool showCollated);

// The list row to select once row `deleted` is gone and `rowsLeft` rows remain: the row
// that took its place, or the new last row; -1 when the list is empty.
int RowAfterDeletion(int deleted, int rowsLeft);

// Where the entry at journal position `position` stands among `rows` rows that list
// positions in ascending order, `positionAt(row)` giving each: its row, or the row it
// would take; one look at the rows per halving.
template <typename PositionAt>
int RowFor(std::int32_t position, int rows, PositionAt&& positionAt) {
    int low = 0, high = rows;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (positionAt(middle) < position)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
