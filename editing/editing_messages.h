// Every text the editing commands show.
#pragma once

inline constexpr char kAlreadyInQuest[] =
    "This is already part of a quest.  You'll need to remove it\nfrom its current quest first.";
inline constexpr char kResetFinishersQuestion[] =
    "Are you sure you want to reset the finisher tags on all database quest items?";

// Internal errors: a selection that names no journal entry or no quest can only come
// of a fault of ours.
inline constexpr char kNewQuestBadRow[] = "Error 1 in OnButtonAddNewQuest().";
inline constexpr char kNewQuestTextTaken[] = "Error 2 in OnButtonAddNewQuest.";
inline constexpr char kAddToQuestNoQuest[] = "Error 1 in OnButtonAddToQuest().";
inline constexpr char kAddToQuestBadRow[] = "Error 2 in OnButtonAddToQuest().";
inline constexpr char kRemoveBadTreeItem[] = "Error 1 in OnButtonRemoveQuestItem()";

// The Edit menu: each item names the step it would take back or make again, and its key.
inline constexpr char kUndoItem[] = "Undo";
inline constexpr char kRedoItem[] = "Redo";
inline constexpr char kUndoKey[] = "\tCtrl+Z";
inline constexpr char kRedoKey[] = "\tCtrl+Y";
inline constexpr char kStartQuestStep[] = "Start New Quest";
inline constexpr char kAddToQuestStep[] = "Add to Quest";
inline constexpr char kRemoveItemStep[] = "Remove Quest Item";
inline constexpr char kToggleFinisherStep[] = "Toggle Finisher";
inline constexpr char kResetFinishersStep[] = "Reset All Finishers";
inline constexpr char kMergeQuestsStep[] = "Merge Quests";
