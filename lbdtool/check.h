// What is wrong with a quest database, and how a journal meets it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

// One line per finding, in database order, naming the quest and the item by
// their numbers from 1: items whose text an earlier item holds (the program
// never uses them), quests with no items, and items whose text no journal
// entry can have.
std::vector<std::string> CheckDatabase(QuestDatabase& database);

// The journal against the database, as the program would show it with every
// filter on.
struct JournalFigures {
    std::size_t entries = 0;
    std::size_t questsReached = 0;  // quests that the tree shows
    std::size_t questsFinished = 0;
    std::size_t itemsReached = 0;   // items that took a journal entry
    std::size_t entriesUnheld = 0;  // entries that no quest holds
};

// Matches `journal` against `database` as reading the journal does, then counts.
JournalFigures MeasureJournal(std::vector<JournalEntry>& journal, QuestDatabase& database);
