#pragma once

#include <cstdint>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

// One journal entry as the quest tree shows it.
struct QuestGroupEntry {
    std::int32_t position = -1;  // index into the journal
    bool finisher = false;       // its item is flagged, so the label gets the prefix
};

// One quest as the quest tree shows it: the first entry is the top-level item,
// the others are its children.
struct QuestGroup {
    const Quest* quest = nullptr;  // points into the database; valid until it changes
    bool finished = false;
    std::vector<QuestGroupEntry> entries;  // ascending journal positions, never empty
};

// Whether the tree shows `quest` under these filters: some item of it has its entry in
// the journal. `first` takes the earliest such entry's position, where the quest stands
// among the others.
bool IsShownQuest(const Quest& quest, const std::vector<JournalEntry>& journal, bool showUnfinished,
                  bool showFinished, std::int32_t* first = nullptr);
// A quest the tree shows, as it shows it.
QuestGroup GroupOf(const Quest& quest, const std::vector<JournalEntry>& journal);

// The quests to show, each with its entries present in the journal, ordered by
// their earliest entry. A quest is finished when one of its present items is a
// finisher. Items whose journalIndex lies outside the journal count as absent,
// so every position returned can be used on `journal` directly.
std::vector<QuestGroup> GroupQuests(const QuestDatabase& database,
                                    const std::vector<JournalEntry>& journal, bool showUnfinished,
                                    bool showFinished);
