#include "views/list_filter.h"

JournalListing FilterJournal(const std::vector<JournalEntry>& journal, bool showUnknown,
                             bool showCollated) {
    JournalListing listing;
    for (std::size_t i = 0; i < journal.size(); ++i) {
        const auto position = static_cast<std::int32_t>(i);
        switch (journal[i].collated) {
            case 0:
                if (showUnknown) listing.rows.push_back(position);
                break;
            case 1:
                if (showCollated) listing.rows.push_back(position);
                break;
            default:
                listing.badEntries.push_back(position);
                break;
        }
    }
    return listing;
}

int RowAfterDeletion(int deleted, int rowsLeft) {
    return deleted < rowsLeft ? deleted : rowsLeft - 1;
}
