// Every change to the quest database goes one way: a step that says what it changes is
// applied to the database and the journal by QuestEditor, which links entries to items
// by the one rule, keeps the step for undo and redo, and says what it touched, so that
// the views change only there. A step holds only what it changed (where the item is,
// its text, the flags), never a copy of the database: the database changes only through
// the editor, so the places a step recorded are where its items are whenever the step
// comes to be undone or redone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"
#include "questdb/quest_merge.h"

enum class EditKind {
    StartQuest,
    AddToQuest,
    RemoveItem,
    ToggleFinisher,
    ResetFinishers,
    MergeQuests
};

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
    bool questEmptied = false;  // the removal takes the quest along
    // Where the entry was in the journal when the step was made; a reload may have
    // moved it since.
    std::int32_t entryHint = -1;
    std::vector<ItemAt> flagged;     // a reset: the items whose flags it clears
    std::vector<MergedItem> merged;  // a merge: the items it appends, in order
};

// The step of each command, made from what the player picked before anything changes.
// None where the command would change nothing: a text some item holds already can't
// start a quest, and a reset with no flag set clears nothing.
std::optional<EditStep> StartQuestStep(QuestDatabase& database,
                                       const std::vector<JournalEntry>& journal,
                                       std::int32_t position);
// The entry at `position` joins `quest`, one of the database's, as its last item.
EditStep AddToQuestStep(const QuestDatabase& database, const Quest& quest,
                        const std::vector<JournalEntry>& journal, std::int32_t position);
EditStep RemoveItemStep(const QuestDatabase& database, const Quest& quest, const QuestItem& item);
EditStep ToggleFinisherStep(const QuestDatabase& database, const Quest& quest,
                            const QuestItem& item);
std::optional<EditStep> ResetFinishersStep(const QuestDatabase& database);
// Another database's quests taken in, as PlanMerge found them; none when it adds nothing.
std::optional<EditStep> MergeQuestsStep(std::vector<MergedItem> added);

// What a step did, for the views and for whatever follows every change.
struct EditChange {
    // JournalGrew: entries came at the journal's end, linked by the one rule; no step.
    enum class Way { Done, Undone, Redone, JournalGrew };
    Way way = Way::Done;
    // The history's own, valid until the next step is taken; null when the journal grew.
    const EditStep* step = nullptr;
    // The journal positions whose collated mark or holding item the step may have
    // changed, and the quests (positions now) whose items or flags it changed. A quest
    // the step took away is in neither: its entries are.
    std::vector<std::int32_t> entries;
    std::vector<std::size_t> quests;
    bool everyQuest = false;  // a reset or a merge touches them all
    // Where the step put a quest in or took one out (-1: it didn't), moving the later
    // quests by one; not told for a reset or a merge.
    std::ptrdiff_t questPutIn = -1, questTakenOut = -1;
    // The step's own entry now, where the views show what changed; -1 when the
    // journal lacks it (and for a reset or a merge).
    std::int32_t entry = -1;
};

class QuestEditor {
public:
    // Both outlive the editor; it changes them only through Take, Undo and Redo.
    QuestEditor(QuestDatabase& database, std::vector<JournalEntry>& journal)
        : database(database), journal(journal) {}
    QuestEditor(const QuestEditor&) = delete;
    QuestEditor& operator=(const QuestEditor&) = delete;

    // Applies a new step and keeps it; whatever could have been redone goes. After each
    // of these three the journal's entries are linked as a fresh read would link them:
    // an entry is collated exactly when an item holds its text, and the first such
    // item, in database order, carries its position. None, changing nothing, when there
    // is no step to take or it doesn't fit the database (which only a change that
    // bypassed the editor could cause).
    std::optional<EditChange> Take(EditStep step);
    std::optional<EditChange> Undo();
    std::optional<EditChange> Redo();
    // The journal gained the entries from `first` on, read after the others: they are
    // linked by the same rule, and the entries before keep their links. Not a step of
    // the history: the database doesn't change.
    EditChange JournalGrew(std::size_t first);

    // The step that Undo would take back, and the one Redo would make again; null when
    // there is none.
    const EditStep* NextUndo() const { return done > 0 ? &steps[done - 1] : nullptr; }
    const EditStep* NextRedo() const { return done < steps.size() ? &steps[done] : nullptr; }

    // The bytes the history holds: its steps and what their texts and lists own.
    std::size_t Footprint() const;

private:
    std::optional<EditChange> Apply(const EditStep& step, EditChange::Way way);

    QuestDatabase& database;
    std::vector<JournalEntry>& journal;
    std::vector<EditStep> steps;
    std::size_t done = 0;  // steps before this one are applied
};

// The Edit menu's items: "Undo Start New Quest\tCtrl+Z", or "Undo\tCtrl+Z" with
// nothing to undo; the same for Redo.
std::string UndoItemText(const EditStep* next);
std::string RedoItemText(const EditStep* next);
