// Every text that merging another quest database into the open one shows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "journal/code_page_text.h"
#include "questdb/quest_merge.h"

// The Options menu's item opens the platform's open-file dialog with these.
inline constexpr char kMergeDialogTitle[] = "Merge Quests from Another Database";
// Label and patterns, each ended by a zero, and the list by one more.
inline constexpr char kMergeFileFilter[] = "Quest databases (*.lbd)\0*.lbd\0All files (*.*)\0*.*\0";

inline constexpr char kMergeOneFileAtATime[] =
    "Lorebinder merges one quest database at a time. Drop a single file onto the window.";

// The report names at most this many left-out quests, each by its first text cut to
// kMergeNameLimit bytes.
inline constexpr std::size_t kMergeNamedLimit = 10;
inline constexpr std::size_t kMergeNameLimit = 100;

// The first text of each of the first kMergeNamedLimit quests of theirs that the merge
// left out, cut to kMergeNameLimit bytes: in the system code page, as the texts are.
std::vector<std::string> LeftOutNames(const QuestMerge& merge, const QuestDatabase& theirs,
                                      LeadByteTest isLeadByte);

// After a merge, or one that found nothing to add: what was added, what was had
// already, and the quests left out, named by `leftOutNames` (LeftOutNames in UTF-8).
std::string MergeReportMessage(const std::string& path, const QuestMerge& merge,
                               const std::vector<std::string>& leftOutNames);

// Nothing merged, and why: the reason is the platform's, one of the file texts the
// start-up shows, or MergeDamagedReason.
std::string MergeRefusedMessage(const std::string& path, const std::string& reason);
std::string MergeDamagedReason(std::size_t bytesRead, std::size_t bytes, std::size_t questsRead);
// The database file that the window has open was chosen.
std::string MergeOwnDatabaseMessage(const std::string& path);
