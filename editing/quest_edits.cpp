#include "editing/quest_edits.h"

Quest* StartQuestWith(QuestDatabase& database, std::vector<JournalEntry>& journal,
                      std::int32_t position) {
    JournalEntry& entry = journal[position];
    Quest* quest = database.AddQuest(entry.text, -1, false);
    if (!quest) return nullptr;
    quest->items.front().journalIndex = position;
    entry.collated = 1;
    return quest;
}

QuestItem* AddEntryToQuest(QuestDatabase& database, Quest& quest,
                           std::vector<JournalEntry>& journal, std::int32_t position) {
    JournalEntry& entry = journal[position];
    QuestItem* item = database.AddItem(quest, entry.text, position, false);
    entry.collated = 1;
    return item;
}

void RemoveEntryFromQuest(QuestDatabase& database, std::vector<JournalEntry>& journal, Quest& quest,
                          QuestItem& item, std::int32_t position) {
    JournalEntry& entry = journal[position];
    entry.collated = 0;
    database.RemoveItem(&quest, &item);

    // Only the first item of a text ever gets the entry; with that one gone, the next
    // one is now first and must have it, or the entry would pass for unknown while the
    // database still holds it.
    if (QuestItem* next = database.FindItem(entry.text)) {
        next->journalIndex = position;
        entry.collated = 1;
    }
}

int RowAfterDeletion(int deleted, int rowsLeft) {
    return deleted < rowsLeft ? deleted : rowsLeft - 1;
}
