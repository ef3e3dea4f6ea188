#include "editing/quest_editor.h"

#include <algorithm>
#include <utility>

#include "editing/editing_messages.h"
#include "journal/journal_matching.h"

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

EditStep Insertion(EditKind kind, ItemAt at, const std::vector<JournalEntry>& journal,
                   std::int32_t position) {
    EditStep step;
    step.kind = kind;
    step.at = at;
    step.text = journal[static_cast<std::size_t>(position)].text;
    step.entryHint = position;
    return step;
}

// The journal position of the step's entry now: the hint while it still holds the
// text, else the first entry that does; -1 when the journal has none (and for a reset
// or a merge, which have no entry of their own).
std::int32_t EntryOf(const EditStep& step, const std::vector<JournalEntry>& journal) {
    if (step.kind == EditKind::ResetFinishers || step.kind == EditKind::MergeQuests) return -1;
    if (IsJournalPosition(journal, step.entryHint) &&
        journal[static_cast<std::size_t>(step.entryHint)].text == step.text)
        return step.entryHint;
    for (std::size_t position = 0; position < journal.size(); ++position) {
        if (journal[position].text == step.text) return static_cast<std::int32_t>(position);
    }
    return -1;
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

void AddOnce(std::vector<std::size_t>& quests, std::size_t quest) {
    if (std::find(quests.begin(), quests.end(), quest) == quests.end()) quests.push_back(quest);
}

// Runs `change`, which adds an item holding the step's text at its place or takes that
// item away, and links the text's journal entry again: only the first holder of a text
// carries its entry, and that may be another item afterwards. The quests whose items
// or links changed go into `touched`.
template <typename Change>
void Relinking(QuestDatabase& database, std::vector<JournalEntry>& journal, const EditStep& step,
               bool inserts, bool questToo, EditChange& touched, Change&& change) {
    const std::int32_t entry = touched.entry;
    std::optional<std::size_t> holderBefore;
    if (auto [quest, holder] = database.FindQuestAndItem(step.text); holder) {
        holder->journalIndex = -1;
        holderBefore = static_cast<std::size_t>(quest - database.quests.data());
    }
    change();
    if (questToo) (inserts ? touched.questPutIn : touched.questTakenOut) = step.at.quest;
    auto [quest, holder] = database.FindQuestAndItem(step.text);
    if (holder) AddOnce(touched.quests, static_cast<std::size_t>(quest - database.quests.data()));
    // A quest put in or taken out before the old holder's moved it.
    if (holderBefore && !(questToo && *holderBefore == step.at.quest && !inserts)) {
        std::size_t at = *holderBefore;
        if (questToo && at >= step.at.quest) at = inserts ? at + 1 : at - 1;
        AddOnce(touched.quests, at);
    }
    if (inserts || !questToo) AddOnce(touched.quests, step.at.quest);
    if (entry < 0) return;
    if (holder) holder->journalIndex = entry;
    journal[static_cast<std::size_t>(entry)].collated = holder ? 1 : 0;
    touched.entries.push_back(entry);
}

// Applies the step forwards (a new step or a redo) or backwards (undo). False, changing
// nothing, when it doesn't fit the database.
bool Apply(const EditStep& step, bool forwards, QuestDatabase& database,
           std::vector<JournalEntry>& journal, EditChange& touched) {
    // The journal's texts stay as they are: the step's entry is the same afterwards.
    touched.entry = EntryOf(step, journal);
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
                Relinking(database, journal, step, true, newQuest, touched, [&] {
                    database.InsertItem(step.at.quest, step.at.item, newQuest, step.text, finisher);
                });
            } else {
                QuestItem* item = ItemHolding(database, step.at, step.text);
                if (!item) return false;
                Quest& quest = database.quests[step.at.quest];
                // The quest goes along exactly when the step made it or emptied it.
                if (newQuest != (quest.items.size() == 1)) return false;
                Relinking(database, journal, step, false, newQuest, touched,
                          [&] { database.RemoveItem(&quest, item); });
            }
            return true;
        }
        case EditKind::ToggleFinisher: {
            QuestItem* item = ItemHolding(database, step.at, step.text);
            if (!item) return false;
            item->finisher = !item->finisher;
            touched.quests.push_back(step.at.quest);
            return true;
        }
        case EditKind::ResetFinishers:
            for (const ItemAt& at : step.flagged) {
                if (at.quest >= database.quests.size() ||
                    at.item >= database.quests[at.quest].items.size())
                    return false;
            }
            for (const ItemAt& at : step.flagged)
                database.quests[at.quest].items[at.item].finisher = !forwards;
            touched.everyQuest = true;
            return true;
        case EditKind::MergeQuests: {
            if (!(forwards ? AppendMerged : RemoveMerged)(database, step.merged)) return false;
            // A merge may touch any number of texts: one matching of the whole journal
            // links them all, where a search of the journal per item could not keep up.
            std::vector<std::int32_t> marks;
            marks.reserve(journal.size());
            for (const JournalEntry& entry : journal) marks.push_back(entry.collated);
            MatchJournal(journal, database);
            for (std::size_t p = 0; p < journal.size(); ++p) {
                if (journal[p].collated != marks[p])
                    touched.entries.push_back(static_cast<std::int32_t>(p));
            }
            touched.everyQuest = true;
            return true;
        }
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
        case EditKind::MergeQuests:
            return kMergeQuestsStep;
    }
    return "";
}

std::string ItemText(const char* verb, const EditStep* next, const char* key) {
    std::string text = verb;
    if (next) text += std::string(" ") + StepName(next->kind);
    return text + key;
}

}  // namespace

std::optional<EditStep> StartQuestStep(QuestDatabase& database,
                                       const std::vector<JournalEntry>& journal,
                                       std::int32_t position) {
    if (database.FindItem(journal[static_cast<std::size_t>(position)].text)) return std::nullopt;
    return Insertion(EditKind::StartQuest,
                     ItemAt{static_cast<std::uint32_t>(database.quests.size()), 0}, journal,
                     position);
}

EditStep AddToQuestStep(const QuestDatabase& database, const Quest& quest,
                        const std::vector<JournalEntry>& journal, std::int32_t position) {
    return Insertion(EditKind::AddToQuest,
                     ItemAt{static_cast<std::uint32_t>(&quest - database.quests.data()),
                            static_cast<std::uint32_t>(quest.items.size())},
                     journal, position);
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

std::optional<EditStep> MergeQuestsStep(std::vector<MergedItem> added) {
    if (added.empty()) return std::nullopt;
    EditStep step;
    step.kind = EditKind::MergeQuests;
    step.merged = std::move(added);
    return step;
}

std::optional<EditChange> QuestEditor::Take(EditStep step) {
    EditChange change;
    if (!::Apply(step, true, database, journal, change)) return std::nullopt;
    steps.resize(done);
    steps.push_back(std::move(step));
    done = steps.size();
    change.step = &steps.back();
    return change;
}

std::optional<EditChange> QuestEditor::Undo() {
    if (done == 0) return std::nullopt;
    std::optional<EditChange> change = Apply(steps[done - 1], EditChange::Way::Undone);
    if (change) --done;
    return change;
}

std::optional<EditChange> QuestEditor::Redo() {
    if (done == steps.size()) return std::nullopt;
    std::optional<EditChange> change = Apply(steps[done], EditChange::Way::Redone);
    if (change) ++done;
    return change;
}

std::optional<EditChange> QuestEditor::Apply(const EditStep& step, EditChange::Way way) {
    EditChange change;
    change.way = way;
    if (!::Apply(step, way != EditChange::Way::Undone, database, journal, change))
        return std::nullopt;
    change.step = &step;
    return change;
}

EditChange QuestEditor::JournalGrew(std::size_t first) {
    EditChange change;
    change.way = EditChange::Way::JournalGrew;
    for (std::size_t position = first; position < journal.size(); ++position) {
        const auto [quest, holder] = database.FindQuestAndItem(journal[position].text);
        // A text new to the journal: no item carried it before.
        journal[position].collated = holder ? 1 : 0;
        if (holder) {
            holder->journalIndex = static_cast<std::int32_t>(position);
            change.quests.push_back(static_cast<std::size_t>(quest - database.quests.data()));
        }
        change.entries.push_back(static_cast<std::int32_t>(position));
    }
    std::sort(change.quests.begin(), change.quests.end());
    change.quests.erase(std::unique(change.quests.begin(), change.quests.end()),
                        change.quests.end());
    return change;
}

std::size_t QuestEditor::Footprint() const {
    std::size_t bytes = steps.capacity() * sizeof(EditStep);
    for (const EditStep& step : steps) {
        // Counted whole even where a short text lives inside the step itself.
        bytes += step.text.capacity() + 1 + step.flagged.capacity() * sizeof(ItemAt) +
                 step.merged.capacity() * sizeof(MergedItem);
        for (const MergedItem& merged : step.merged) bytes += merged.text.capacity() + 1;
    }
    return bytes;
}

std::string UndoItemText(const EditStep* next) {
    return ItemText(kUndoItem, next, kUndoKey);
}

std::string RedoItemText(const EditStep* next) {
    return ItemText(kRedoItem, next, kRedoKey);
}
