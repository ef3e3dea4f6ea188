// lbdtool's report of a merge: a line for each quest of theirs that something
// happened to, then the counts.
#pragma once

#include <string>
#include <vector>

#include "questdb/quest_merge.h"

std::vector<std::string> MergeReportLines(const QuestMerge& merge);
