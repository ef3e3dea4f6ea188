// A short game's journal and quest database, shared by the tests of the views.
//
// Journal positions and what the database makes of them:
//   0 Day 1  A stranger asked about the lighthouse.       lighthouse quest
//   1 Day 1  The ferryman wants three silver bells.       ferry quest
//   2 Day 2  I slept at the inn.                          no quest
//   3 Day 3  The lighthouse keeper is missing.            lighthouse quest
//   4 Day 3  I found the first silver bell in the mill.   ferry quest
//   5 Day 4  The keeper was hiding in the cellar.         lighthouse quest, finisher
//   6 Day 5  Rain all day.                                no quest
//   7 Day 6  I paid the bridge toll.                      toll quest, finisher
// The journal repeats "Rain all day." at its end, which the reader drops. The ferry
// quest's finisher and the whole map quest are not in the journal yet, so the ferry
// quest is unfinished and the lighthouse and toll quests are finished. The database
// lists its quests, and the lighthouse quest its items, out of journal order.
#pragma once

#include <string>
#include <vector>

#include "tests/gui/gui_fixture.h"

namespace sample {

inline const std::string kStranger = "A stranger asked about the lighthouse.";
inline const std::string kFerryman = "The ferryman wants three silver bells.";
inline const std::string kInn = "I slept at the inn.";
inline const std::string kKeeperMissing = "The lighthouse keeper is missing.";
inline const std::string kFirstBell = "I found the first silver bell in the mill.";
inline const std::string kKeeperFound = "The keeper was hiding in the cellar.";
inline const std::string kRain = "Rain all day.";
inline const std::string kToll = "I paid the bridge toll.";
inline const std::string kBellsGiven = "I gave the ferryman his bells.";
inline const std::string kOldMap = "The old map shows an island.";

inline const std::vector<TestEntry> kEntries = {
    {"Day 1", kStranger},      {"Day 1", kFerryman},  {"Day 2", kInn},
    {"Day 3", kKeeperMissing}, {"Day 3", kFirstBell}, {"Day 4", kKeeperFound},
    {"Day 5", kRain},          {"Day 6", kToll},      {"Day 7", kRain},
};
inline constexpr int kJournalSize = 8;

inline std::string Journal() {
    return JournalText(kEntries);
}

inline std::string Database() {
    return DatabaseImage({
        {{kFerryman, false}, {kFirstBell, false}, {kBellsGiven, true}},
        {{kKeeperFound, true}, {kStranger, false}, {kKeeperMissing, false}},
        {{kOldMap, false}},
        {{kToll, true}},
    });
}

inline std::string Finisher(const std::string& text) {
    return "FINISHER: " + text;
}

}  // namespace sample
