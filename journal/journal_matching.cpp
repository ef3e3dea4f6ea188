#include "journal/journal_matching.h"

#include <cstdint>

void MatchJournal(std::vector<JournalEntry>& journal, QuestDatabase& database) {
    database.ResetJournalIndexes();
    for (std::size_t position = 0; position < journal.size(); ++position) {
        JournalEntry& entry = journal[position];
        QuestItem* item = database.FindItem(entry.text);
        entry.collated = item != nullptr;
        if (item != nullptr) item->journalIndex = static_cast<std::int32_t>(position);
    }
}
