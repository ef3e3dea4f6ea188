// Every text the views show: the labels they make and their messages.
#pragma once

#include <cstddef>
#include <string>

// The counter above the list: "Displayed: <rows>/<entries>".
std::string DisplayedCountText(std::size_t displayed, std::size_t total);

// The label of a tree item: the entry's text, prefixed when its item is a finisher.
std::string QuestTreeLabel(const std::string& text, bool finisher);

inline constexpr char kEmptySearchMessage[] = "Enter the search text in the box below.";
// "\"<lowered>\" Not found.": the text as it was compared, not as typed.
std::string NotFoundMessage(const std::string& lowered);

// Internal errors: a row or a tree item that names no journal entry, or an entry that
// no item holds, can only come of a fault of ours.
inline constexpr char kBadListFilterMark[] = "Error 1 in ShowPrefsChanged()";
inline constexpr char kBadListSelection[] = "Error 1 in OnSelChangeListItems.";
inline constexpr char kBadListRow[] = "Error 2 in OnSelChangeListItems().";
inline constexpr char kNoQuestItem[] = "Error 1 in QuestItemFromHti().";
inline constexpr char kNoQuestItemInserted[] = "Error 1 in ShowQuests()";
inline constexpr char kNoQuestToExpand[] = "Error 2 in ShowQuests()";
inline constexpr char kBadTreeItem[] = "Error 1 in OnSelChangedTreeQuestTree().";
