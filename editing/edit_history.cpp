#include "editing/edit_history.h"

#include <utility>

#include "editing/editing_messages.h"

namespace {

ItemAt PlaceOf(const QuestDatabase& database, const Quest& quest, const QuestItem& item) {
    return ItemAt{static_cast<std::uint32_t>(&quest - database.quests.data()),
                  static_cast<std::uint32_t>(&item - quest.items.data())};
}

EditStep StepOn(EditKind kind, const QuestDatabase& database, const Quest& quest,
                const QuestItem& item) {
    EditStep step;
    step.kind = kind;
    step.at = PlaceOf(database, quest, item);
    step.text = item.text;
    step.finisher = item.finisher;
    step.entryHint = item.journalIndex;
    return step;
}

// The item at `at`, when there is one and it holds `text`.
QuestItem* ItemHolding(QuestDatabase& database, ItemAt at, const std::string& text) {
    if (at.quest >= database.quests.size()) return nullptr;
    std::vector<QuestItem>& items = database.quests[at.quest].items;
    if (at.item >= items.size() || items[at.item].text != text) return nullptr;
    return &items[at.item];
}

// Whether an item can go in at `at`, into a new quest there or into the quest there.
bool CanInsert(const QuestDatabase& database, ItemAt at, bool newQuest) {
    if (newQuest) return at.quest <= database.quests.size() && at.item == 0;
    return at.quest < database.quests.size() && at.item <= database.quests[at.quest].items.size();
}

void Insert(QuestDatabase& database, const EditStep& step, bool finisher, bool newQuest) {
    std::vector<Quest>& quests = database.quests;
    if (newQuest) quests.insert(quests.begin() + step.at.quest, Quest{});
    std::vector<QuestItem>& items = quests[step.at.quest].items;
    QuestItem item;
    item.text = step.text;
    item.finisher = finisher;
    items.insert(items.begin() + step.at.item, std::move(item));
    database.InvalidateIndex();
}

// Runs `change`, which adds or removes an item holding the step's text, and links the
// text's journal entry again: only the first holder of a text carries its entry, and
// that may be another item afterwards.
template <typename Change>
void Relinking(QuestDatabase& database, std::vector<JournalEntry>& journal, const EditStep& step,
               Change&& change) {
    const std::int32_t entry = EntryOf(step, journal);
    if (QuestItem* holder = database.FindItem(step.text)) holder->journalIndex = -1;
    change();
    QuestItem* holder = database.FindItem(step.text);
    if (entry < 0) return;
    if (holder) holder->journalIndex = entry;
    journal[static_cast<std::size_t>(entry)].collated = holder ? 1 : 0;
}

// Applies the step forwards (redo) or backwards (undo). False, changing nothing, when it
// doesn't fit the database.
bool Apply(const EditStep& step, bool forwards, QuestDatabase& database,
           std::vector<JournalEntry>& journal) {
    // Start and Add are a removal backwards; Remove is one forwards.
    const bool adds = step.kind == EditKind::StartQuest || step.kind == EditKind::AddToQuest;
    switch (step.kind) {
        case EditKind::StartQuest:
        case EditKind::AddToQuest:
        case EditKind::RemoveItem: {
            const bool newQuest = step.kind == EditKind::StartQuest ||
                                  (step.kind == EditKind::RemoveItem && step.questEmptied);
            const bool finisher = step.kind == EditKind::RemoveItem && step.finisher;
            if (adds == forwards) {
                if (!CanInsert(database, step.at, newQuest)) return false;
                Relinking(database, journal, step,
                          [&] { Insert(database, step, finisher, newQuest); });
            } else {
                QuestItem* item = ItemHolding(database, step.at, step.text);
                if (!item) return false;
                Quest& quest = database.quests[step.at.quest];
                // The quest goes along exactly when the step made it or emptied it.
                if (newQuest != (quest.items.size() == 1)) return false;
                Relinking(database, journal, step, [&] { database.RemoveItem(&quest, item); });
            }
            return true;
        }
        case EditKind::ToggleFinisher: {
            QuestItem* item = ItemHolding(database, step.at, step.text);
            if (!item) return false;
            item->finisher = !item->finisher;
            return true;
        }
        case EditKind::ResetFinishers:
            if (forwards) {
                database.ClearFinishers();
                return true;
            }
            for (const ItemAt& at : step.flagged) {
                if (at.quest >= database.quests.size() ||
                    at.item >= database.quests[at.quest].items.size())
                    return false;
            }
            for (const ItemAt& at : step.flagged)
                database.quests[at.quest].items[at.item].finisher = true;
            return true;
    }
    return false;
}

const char* StepName(EditKind kind) {
    switch (kind) {
        case EditKind::StartQuest:
            return kStartQuestStep;
        case EditKind::AddToQuest:
            return kAddToQuestStep;
        case EditKind::RemoveItem:
            return kRemoveItemStep;
        case EditKind::ToggleFinisher:
            return kToggleFinisherStep;
        case EditKind::ResetFinishers:
            return kResetFinishersStep;
    }
    return "";
}

std::string ItemText(const char* verb, const EditStep* next, const char* key) {
    std::string text = verb;
    if (next) text += std::string(" ") + StepName(next->kind);
    return text + key;
}

}  // namespace

EditStep NewQuestStep(const QuestDatabase& database) {
    const Quest& quest = database.quests.back();
    return StepOn(EditKind::StartQuest, database, quest, quest.items.front());
}

EditStep AddToQuestStep(const QuestDatabase& database, const Quest& quest) {
    return StepOn(EditKind::AddToQuest, database, quest, quest.items.back());
}

EditStep RemoveItemStep(const QuestDatabase& database, const Quest& quest, const QuestItem& item) {
    EditStep step = StepOn(EditKind::RemoveItem, database, quest, item);
    step.questEmptied = quest.items.size() == 1;
    return step;
}

EditStep ToggleFinisherStep(const QuestDatabase& database, const Quest& quest,
                            const QuestItem& item) {
    return StepOn(EditKind::ToggleFinisher, database, quest, item);
}

std::optional<EditStep> ResetFinishersStep(const QuestDatabase& database) {
    EditStep step;
    step.kind = EditKind::ResetFinishers;
    for (std::size_t q = 0; q < database.quests.size(); ++q) {
        const std::vector<QuestItem>& items = database.quests[q].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].finisher)
                step.flagged.push_back(
                    ItemAt{static_cast<std::uint32_t>(q), static_cast<std::uint32_t>(i)});
        }
    }
    if (step.flagged.empty()) return std::nullopt;
    step.flagged.shrink_to_fit();
    return step;
}

std::int32_t EntryOf(const EditStep& step, const std::vector<JournalEntry>& journal) {
    if (step.kind == EditKind::ResetFinishers) return -1;
    if (IsJournalPosition(journal, step.entryHint) &&
        journal[static_cast<std::size_t>(step.entryHint)].text == step.text)
        return step.entryHint;
    for (std::size_t position = 0; position < journal.size(); ++position) {
        if (journal[position].text == step.text) return static_cast<std::int32_t>(position);
    }
    return -1;
}

void EditHistory::Record(EditStep step) {
    steps.resize(done);
    steps.push_back(std::move(step));
    done = steps.size();
}

const EditStep* EditHistory::Undo(QuestDatabase& database, std::vector<JournalEntry>& journal) {
    const EditStep* step = NextUndo();
    if (!step || !Apply(*step, false, database, journal)) return nullptr;
    --done;
    return step;
}

const EditStep* EditHistory::Redo(QuestDatabase& database, std::vector<JournalEntry>& journal) {
    const EditStep* step = NextRedo();
    if (!step || !Apply(*step, true, database, journal)) return nullptr;
    ++done;
    return step;
}

std::size_t EditHistory::Footprint() const {
    std::size_t bytes = steps.capacity() * sizeof(EditStep);
    for (const EditStep& step : steps) {
        // Counted whole even where a short text lives inside the step itself.
        bytes += step.text.capacity() + 1 + step.flagged.capacity() * sizeof(ItemAt);
    }
    return bytes;
}

std::string UndoItemText(const EditStep* next) {
    return ItemText(kUndoItem, next, kUndoKey);
}

std::string RedoItemText(const EditStep* next) {
    return ItemText(kRedoItem, next, kRedoKey);
}
