#pragma once

#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

// Links the journal to the database by text: every item's journalIndex goes
// back to -1, then each entry, in journal order, is looked up as FindItem
// would look it up; the item found (the first with that text in database
// order) takes the entry's position and the entry is marked collated. Every
// entry's mark is recomputed, so this may run again after any change.
void MatchJournal(std::vector<JournalEntry>& journal, QuestDatabase& database);
