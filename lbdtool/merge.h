// Taking what someone else's quest database adds into one's own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "questdb/quest_database.h"

struct MergeReport {
    std::vector<std::string> lines;  // what happened to each of their quests, in their order
    std::size_t questsAdded = 0;
    std::size_t itemsAdded = 0;  // to quests that were there before
    std::size_t questsLeftOut = 0;
    std::size_t finishersDisagreed = 0;
};

// `result` starts as MINE and keeps all of it, in its order. Each quest of
// `theirs`, in order, is then taken against the result so far, as the texts'
// first matches place it: a quest none of whose texts the result holds is
// appended; one whose held texts all belong to one quest of the result gives
// that quest its other texts; one whose texts belong to several is left out.
// Where a text is held on both sides with different finisher flags, the
// result's flag stays.
MergeReport MergeDatabases(QuestDatabase& result, const QuestDatabase& theirs);
