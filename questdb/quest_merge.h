// Taking what someone else's quest database adds into one's own, as lbdtool and the
// window both do it. The merge only ever appends (new items at the end of quests that
// were there, new quests at the end), so what it does is a list of appended items that
// can be applied, and taken back, on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "questdb/quest_database.h"

// An item the merge appends: at `item` of quest `quest` of the result. Item 0 starts a
// new quest there, after every other: the quests it joins always hold items already.
struct MergedItem {
    std::uint32_t quest = 0;
    std::uint32_t item = 0;
    std::string text;
    bool finisher = false;
};

// A text both sides hold with different finisher flags; MINE's flag stays.
struct FinisherDisagreement {
    std::size_t theirItem = 0;
    std::size_t quest = 0;  // where the result holds the text
    std::size_t item = 0;
    bool finisherHere = false;
};

// What became of one quest of theirs. Positions count from 0.
struct TheirQuestOutcome {
    enum class Kind {
        NoItems,   // nothing to take
        Added,     // a new quest, `quest`, of `items` items
        Extended,  // `items` items added to `quest`
        Held,      // every text of it belongs to `quest` already
        LeftOut,   // its texts belong to the quests `owners` (in order), so it is left out
    };
    Kind kind = Kind::NoItems;
    std::size_t quest = 0;
    std::size_t items = 0;
    std::vector<std::size_t> owners;
    std::vector<FinisherDisagreement> disagreements;
};

struct QuestMerge {
    std::vector<TheirQuestOutcome> outcomes;  // one for each quest of theirs, in their order
    std::vector<MergedItem> added;            // in the order they go in
    std::size_t questsAdded = 0;
    std::size_t itemsAdded = 0;  // to quests that were there before
    std::size_t questsHeld = 0;
    std::size_t questsLeftOut = 0;
    std::size_t finishersDisagreed = 0;
};

// What merging `theirs` into `mine` does, leaving `mine` as it is (only its lookup
// index may be brought up to date). MINE stays whole, in its order. Each quest of
// theirs, in order, is taken against the result so far, as the texts' first holders
// place it: a quest none of whose texts the result holds is appended; one whose held
// texts all belong to one quest of the result gives that quest its other texts; one
// whose texts belong to several is left out. Each text counts once per quest, where
// the quest first holds it.
QuestMerge PlanMerge(QuestDatabase& mine, const QuestDatabase& theirs);

// Appends the items where they go, or takes them back, last first, from where they
// went. False, changing nothing, when they don't fit the database as it is now.
bool AppendMerged(QuestDatabase& database, const std::vector<MergedItem>& added);
bool RemoveMerged(QuestDatabase& database, const std::vector<MergedItem>& added);
