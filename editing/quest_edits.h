// What the editing commands do to the quest database and to the journal's collated
// marks, apart from the controls. Each change keeps the two linked: an entry is
// collated exactly when some item holds its text, and the first such item, in
// database order, carries the entry's position as its journalIndex.
#pragma once

#include <cstdint>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

// Starts a new last quest holding only the entry at `position`. Returns it, or nullptr,
// changing nothing, when some item holds the entry's text already.
Quest* StartQuestWith(QuestDatabase& database, std::vector<JournalEntry>& journal,
                      std::int32_t position);

// Appends the entry at `position` to `quest`, which must be one of the database's. The
// caller makes sure no item holds the entry's text (the entry isn't collated).
QuestItem* AddEntryToQuest(QuestDatabase& database, Quest& quest,
                           std::vector<JournalEntry>& journal, std::int32_t position);

// Takes `item` out of `quest`, and the quest out of the database when it is left empty,
// and marks the entry at `position`, which the item showed, uncollated. When another
// item still holds the entry's text (a database file may hold a text twice), that item
// takes the entry over and the entry stays collated.
void RemoveEntryFromQuest(QuestDatabase& database, std::vector<JournalEntry>& journal, Quest& quest,
                          QuestItem& item, std::int32_t position);

// The list row to select once row `deleted` is gone and `rowsLeft` rows remain: the row
// that took its place, or the new last row; -1 when the list is empty.
int RowAfterDeletion(int deleted, int rowsLeft);
