// The steps of the editing commands, kept for as long as the program runs so that each
// can be taken back and made again exactly. A step holds only what it changed (where
// the item is, its text, the flags it changed), never a copy of the database: the
// database changes only through the commands and the history, so the positions a step
// recorded are where its item is whenever the step comes to be undone or redone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

enum class EditKind { StartQuest, AddToQuest, RemoveItem, ToggleFinisher, ResetFinishers };

// An item's place: its quest's position in the database and its own in the quest.
struct ItemAt {
    std::uint32_t quest = 0;
    std::uint32_t item = 0;
};

struct EditStep {
    EditKind kind = EditKind::StartQuest;
    ItemAt at;                  // the item added, removed or toggled
    std::string text;           // its text, which finds its journal entry after any reload
    bool finisher = false;      // the removed item's flag
    bool questEmptied = false;  // the removal took the quest along
    // Where the entry was in the journal when the step was taken; a reload may have
    // moved it since.
    std::int32_t entryHint = -1;
    std::vector<ItemAt> flagged;  // a reset: the items whose flags it cleared
};

// The step each command takes. The additions and the toggle are read from the database
// as the command leaves it, the removal and the reset as the command finds it. The
// item's journalIndex, if any, is the entry's position then.
EditStep NewQuestStep(const QuestDatabase& database);  // the last quest, just started
EditStep AddToQuestStep(const QuestDatabase& database, const Quest& quest);  // its last item
EditStep RemoveItemStep(const QuestDatabase& database, const Quest& quest, const QuestItem& item);
EditStep ToggleFinisherStep(const QuestDatabase& database, const Quest& quest,
                            const QuestItem& item);
// None when no flag is set: clearing nothing changes nothing.
std::optional<EditStep> ResetFinishersStep(const QuestDatabase& database);

// The journal position of the step's entry now: the hint while it still holds the
// text, else the first entry that does; -1 when the journal has none (and for a reset).
std::int32_t EntryOf(const EditStep& step, const std::vector<JournalEntry>& journal);

class EditHistory {
public:
    // A new step; whatever could have been redone goes.
    void Record(EditStep step);

    // The step that Undo would take back, and the one Redo would make again; null when
    // there is none.
    const EditStep* NextUndo() const { return done > 0 ? &steps[done - 1] : nullptr; }
    const EditStep* NextRedo() const { return done < steps.size() ? &steps[done] : nullptr; }

    // Take the last step back, or make the next one again, and link the step's journal
    // entry to the database as the commands do: the entry is collated exactly when an
    // item holds its text, and the first such item carries its position. Return the
    // step applied; null, changing nothing, when there is none or when it no longer
    // fits the database (which only a change that bypassed the history could cause).
    const EditStep* Undo(QuestDatabase& database, std::vector<JournalEntry>& journal);
    const EditStep* Redo(QuestDatabase& database, std::vector<JournalEntry>& journal);

    // The bytes the history holds: its steps and what their texts and lists own.
    std::size_t Footprint() const;

private:
    std::vector<EditStep> steps;
    std::size_t done = 0;  // steps before this one are applied
};

// The Edit menu's items: "Undo Start New Quest\tCtrl+Z", or "Undo\tCtrl+Z" with
// nothing to undo; the same for Redo.
std::string UndoItemText(const EditStep* next);
std::string RedoItemText(const EditStep* next);
