#include "journal/journal_matching.h"

#include <cstdint>

void MatchJournal(std::vector<JournalEntry>& journal, QuestDatabase& database) {
    database.ResetJournalIndexes();

    // The database keeps its own index of first items by text, built once per
    // structural change, so a reload looks entries up without indexing the
    // database again.
    for (std::size_t position = 0; position < journal.size(); ++position) {
        JournalEntry& entry = journal[position];
        QuestItem* item = database.FindItem(entry.text);
        if (item == nullptr) {
            entry.collated = 0;
            continue;
        }
        item->journalIndex = static_cast<std::int32_t>(position);
        entry.collated = 1;
    }
}
