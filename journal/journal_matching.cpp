#include "journal/journal_matching.h"

#include <cstdint>
#include <string_view>

#include "journal/text_index.h"

namespace {

struct ItemText {
    const std::vector<QuestItem*>* items;
    std::string_view operator()(std::uint32_t id) const { return (*items)[id]->text; }
};

}  // namespace

void MatchJournal(std::vector<JournalEntry>& journal, QuestDatabase& database) {
    database.ResetJournalIndexes();

    // One pass over the database gives the first item of each text, the one a
    // linear FindItem would stop at; looking entries up there keeps the match
    // linear in the sizes of the journal and the database.
    std::vector<QuestItem*> items;
    for (Quest& quest : database.quests) {
        for (QuestItem& item : quest.items) items.push_back(&item);
    }
    TextIndex<ItemText> firstItem(ItemText{&items});
    firstItem.Reserve(items.size());
    for (std::uint32_t id = 0; id < items.size(); ++id) firstItem.Insert(id);

    for (std::size_t position = 0; position < journal.size(); ++position) {
        JournalEntry& entry = journal[position];
        const std::uint32_t id = firstItem.Find(entry.text);
        if (id == TextIndex<ItemText>::kNone) {
            entry.collated = 0;
            continue;
        }
        items[id]->journalIndex = static_cast<std::int32_t>(position);
        entry.collated = 1;
    }
}
