#include "questdb/quest_database.h"

#include <functional>
#include <string_view>
#include <utility>

namespace {

// Position of `element` in `elements`, or elements.size() when it isn't one of
// them. std::less gives a total order even for pointers into other arrays.
template <typename T>
std::size_t PositionOf(const std::vector<T>& elements, const T* element) {
    const std::less<const T*> before;
    const T* begin = elements.data();
    const T* end = begin + elements.size();
    if (element == nullptr || before(element, begin) || !before(element, end)) {
        return elements.size();
    }
    return static_cast<std::size_t>(element - begin);
}

std::size_t HashOf(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

QuestItem* AppendItem(Quest& quest, std::string text, std::int32_t journalIndex, bool finisher) {
    QuestItem& item = quest.items.emplace_back();
    item.text = std::move(text);
    item.journalIndex = journalIndex;
    item.finisher = finisher;
    return &item;
}

}  // namespace

bool Quest::IsFinished() const {
    for (const QuestItem& item : items) {
        // A finisher counts only when the current journal holds its entry.
        if (item.journalIndex >= 0 && item.finisher) return true;
    }
    return false;
}

QuestItem* QuestDatabase::FindItem(std::string_view text) {
    const ItemPosition* at = Locate(text);
    return at ? &quests[at->quest].items[at->item] : nullptr;
}

Quest* QuestDatabase::FindQuest(std::string_view text) {
    const ItemPosition* at = Locate(text);
    return at ? &quests[at->quest] : nullptr;
}

std::pair<Quest*, QuestItem*> QuestDatabase::FindQuestAndItem(std::string_view text) {
    const ItemPosition* at = Locate(text);
    if (!at) return {nullptr, nullptr};
    Quest& quest = quests[at->quest];
    return {&quest, &quest.items[at->item]};
}

Quest* QuestDatabase::AddQuest(std::string text, std::int32_t journalIndex, bool finisher) {
    if (!indexCurrent) RebuildIndex();
    const std::size_t hash = HashOf(text);
    if (Indexed(text, hash) != nullptr) return nullptr;
    Quest& quest = quests.emplace_back();
    AppendItem(quest, std::move(text), journalIndex, finisher);
    // The new item comes last and no other holds its text, so the index stays current:
    // building a database quest by quest costs no rebuild per quest.
    index.Add(hash, ItemPosition{quests.size() - 1, 0});
    return &quest;
}

QuestItem* QuestDatabase::AddItem(Quest& quest, std::string text, std::int32_t journalIndex,
                                  bool finisher) {
    const std::size_t q = PositionOf(quests, static_cast<const Quest*>(&quest));
    QuestItem* item = AppendItem(quest, std::move(text), journalIndex, finisher);
    if (!indexCurrent || q == quests.size()) {
        InvalidateIndex();
        return item;
    }
    // Appending moves no other item, so the index needs the new one only where it is
    // its text's first holder: adding an entry to a quest costs no rebuild.
    const std::size_t hash = HashOf(item->text);
    const ItemPosition* held = Indexed(item->text, hash);
    if (held == nullptr) {
        index.Add(hash, ItemPosition{q, quest.items.size() - 1});
    } else if (held->quest > q) {
        InvalidateIndex();  // the new item comes before the one indexed
    }
    return item;
}

Quest* QuestDatabase::AppendQuest(Quest quest) {
    quests.push_back(std::move(quest));
    InvalidateIndex();
    return &quests.back();
}

QuestItem* QuestDatabase::InsertItem(std::size_t quest, std::size_t item, bool newQuest,
                                     std::string text, bool finisher) {
    if (newQuest ? quest > quests.size() || item != 0
                 : quest >= quests.size() || item > quests[quest].items.size())
        return nullptr;
    if (newQuest) quests.emplace(quests.begin() + static_cast<std::ptrdiff_t>(quest));
    std::vector<QuestItem>& items = quests[quest].items;
    QuestItem& added = *items.emplace(items.begin() + static_cast<std::ptrdiff_t>(item));
    added.text = std::move(text);
    added.finisher = finisher;
    if (indexCurrent) Inserted(ItemPosition{quest, item}, newQuest);
    return &added;
}

void QuestDatabase::RemoveItem(Quest* quest, QuestItem* item) {
    const std::size_t q = PositionOf(quests, static_cast<const Quest*>(quest));
    if (q == quests.size()) return;
    std::vector<QuestItem>& items = quests[q].items;
    const std::size_t i = PositionOf(items, static_cast<const QuestItem*>(item));
    if (i == items.size()) return;

    const bool questToo = items.size() == 1;
    // The index lets go of the item while its text is there to find it by.
    bool wasFirst = false;
    std::string text;
    if (indexCurrent) {
        const std::size_t hash = HashOf(items[i].text);
        const ItemPosition* held = Indexed(items[i].text, hash);
        wasFirst = held && held->quest == q && held->item == i;
        if (wasFirst) {
            index.Erase(hash, [&](const ItemPosition& p) { return &p == held; });
            text = std::move(items[i].text);
        }
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
    if (questToo) quests.erase(quests.begin() + static_cast<std::ptrdiff_t>(q));
    if (indexCurrent) Removed(ItemPosition{q, i}, questToo, wasFirst ? &text : nullptr);
}

void QuestDatabase::ResetJournalIndexes() {
    for (Quest& quest : quests) {
        for (QuestItem& item : quest.items) item.journalIndex = -1;
    }
}

void QuestDatabase::ClearFinishers() {
    for (Quest& quest : quests) {
        for (QuestItem& item : quest.items) item.finisher = false;
    }
}

const QuestDatabase::ItemPosition* QuestDatabase::Locate(std::string_view text) {
    if (!indexCurrent) RebuildIndex();
    return Indexed(text, HashOf(text));
}

const QuestDatabase::ItemPosition* QuestDatabase::Indexed(std::string_view text,
                                                          std::size_t hash) const {
    return index.Find(hash, [&](const ItemPosition& at) {
        // Checked against the data, so that a change made by hand without
        // InvalidateIndex() can't reach past the end; a fresh index always passes.
        return at.quest < quests.size() && at.item < quests[at.quest].items.size() &&
               quests[at.quest].items[at.item].text == text;
    });
}

void QuestDatabase::RebuildIndex() {
    std::size_t itemCount = 0;
    for (const Quest& quest : quests) itemCount += quest.items.size();
    index.Clear();
    index.Reserve(itemCount);
    for (std::size_t q = 0; q < quests.size(); ++q) {
        for (std::size_t i = 0; i < quests[q].items.size(); ++i) {
            // A text held twice keeps its first item: in database order, the first one in wins.
            const std::string& text = quests[q].items[i].text;
            const std::size_t hash = HashOf(text);
            if (Indexed(text, hash) == nullptr) index.Add(hash, ItemPosition{q, i});
        }
    }
    indexCurrent = true;
}

void QuestDatabase::Inserted(ItemPosition at, bool newQuest) {
    const bool last =
        newQuest ? at.quest + 1 == quests.size() : at.item + 1 == quests[at.quest].items.size();
    if (!last)
        index.ForEach([&](ItemPosition& indexed) {
            if (newQuest && indexed.quest >= at.quest)
                ++indexed.quest;
            else if (!newQuest && indexed.quest == at.quest && indexed.item >= at.item)
                ++indexed.item;
        });
    const std::string& text = quests[at.quest].items[at.item].text;
    const std::size_t hash = HashOf(text);
    const ItemPosition* held = Indexed(text, hash);
    if (held && (held->quest < at.quest || (held->quest == at.quest && held->item < at.item)))
        return;  // an earlier item holds the text still
    if (held) index.Erase(hash, [&](const ItemPosition& p) { return &p == held; });
    index.Add(hash, at);
}

// `first` is the text of the item taken out when the index held it: the next item to
// hold it, if any, takes its place.
void QuestDatabase::Removed(ItemPosition at, bool questToo, const std::string* first) {
    index.ForEach([&](ItemPosition& indexed) {
        if (questToo && indexed.quest > at.quest)
            --indexed.quest;
        else if (!questToo && indexed.quest == at.quest && indexed.item > at.item)
            --indexed.item;
    });
    if (!first) return;
    for (std::size_t q = 0; q < quests.size(); ++q) {
        for (std::size_t i = 0; i < quests[q].items.size(); ++i) {
            if (quests[q].items[i].text == *first) {
                index.Add(HashOf(*first), ItemPosition{q, i});
                return;
            }
        }
    }
}
