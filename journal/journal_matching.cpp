#include "journal/journal_matching.h"

#include <cstdint>
#include <string_view>

void MatchJournal(std::vector<JournalEntry>& journal, QuestDatabase& database,
                  const std::vector<std::size_t>* textHashes) {
    database.ResetJournalIndexes();

    // The database keeps its own index of first items by text, built once per
    // structural change, so a reload looks entries up without indexing the
    // database again; asking for all of them at once lets it overlap the
    // lookups' waits for memory.
    std::vector<std::string_view> texts;
    texts.reserve(journal.size());
    for (const JournalEntry& entry : journal) texts.push_back(entry.text);
    const std::vector<QuestItem*> found = database.FindItems(texts, textHashes);

    for (std::size_t position = 0; position < journal.size(); ++position) {
        JournalEntry& entry = journal[position];
        QuestItem* item = found[position];
        entry.collated = item != nullptr;
        if (item != nullptr) item->journalIndex = static_cast<std::int32_t>(position);
    }
}
