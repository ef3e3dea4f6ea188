#include "questdb/quest_database.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string_view>
#include <utility>

#include "questdb/structure_generation.h"
#include "questdb/text_hash.h"

namespace {

std::atomic<std::uint64_t> structureGeneration{1};

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

}  // namespace

std::uint64_t StructureGeneration() {
    return structureGeneration.load(std::memory_order_relaxed);
}

void NoteStructureChange() {
    structureGeneration.fetch_add(1, std::memory_order_relaxed);
}

QuestItem* Quest::AddItem(std::string text, std::int32_t journalIndex, bool finisher) {
    QuestItem item;
    item.text = std::move(text);
    item.journalIndex = journalIndex;
    item.finisher = finisher;
    items.push_back(std::move(item));
    NoteStructureChange();
    return &items.back();
}

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

Quest* QuestDatabase::AddQuest(std::string text, std::int32_t journalIndex, bool finisher) {
    if (Locate(text) != nullptr) return nullptr;
    quests.emplace_back();
    quests.back().AddItem(std::move(text), journalIndex, finisher);
    return &quests.back();
}

Quest* QuestDatabase::AppendQuest(Quest quest) {
    quests.push_back(std::move(quest));
    NoteStructureChange();
    return &quests.back();
}

QuestItem* QuestDatabase::AddItem(Quest& quest, std::string text, std::int32_t journalIndex,
                                  bool finisher) {
    return quest.AddItem(std::move(text), journalIndex, finisher);
}

void QuestDatabase::RemoveItem(Quest* quest, QuestItem* item) {
    const std::size_t q = PositionOf(quests, static_cast<const Quest*>(quest));
    if (q == quests.size()) return;
    std::vector<QuestItem>& items = quests[q].items;
    const std::size_t i = PositionOf(items, static_cast<const QuestItem*>(item));
    if (i == items.size()) return;

    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
    if (items.empty()) quests.erase(quests.begin() + static_cast<std::ptrdiff_t>(q));
    NoteStructureChange();
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

void QuestDatabase::InvalidateIndex() {
    index.builtAt = 0;
}

const QuestDatabase::ItemPosition* QuestDatabase::Locate(std::string_view text) {
    if (index.builtAt != StructureGeneration()) RebuildIndex();
    return Locate(text, HashText(text));
}

std::vector<QuestItem*> QuestDatabase::FindItems(const std::vector<std::string_view>& texts,
                                                 const std::vector<std::size_t>* knownHashes) {
    if (index.builtAt != StructureGeneration()) RebuildIndex();
    // On a large database nearly every lookup waits for memory three times: for its
    // first slot, for the item that slot names, and for the item's text. Each text
    // goes through those steps a few lookups ahead of its comparison, touching what
    // the next step will read, so the waits overlap instead of queueing.
    constexpr std::size_t kSlotsAhead = 12;  // texts hashed and slots touched ahead
    constexpr std::size_t kItemsAhead = 8;   // slots read and items touched ahead
    constexpr std::size_t kTextsAhead = 4;   // items read and their texts touched ahead
    const std::size_t count = texts.size();
    // Hashes handed in spare a pass over every text, which on a long journal has
    // long left the cache.
    const bool hashed = knownHashes != nullptr && knownHashes->size() == count;
    std::vector<std::size_t> computed(hashed ? 0 : count);
    const std::size_t* hashes = hashed ? knownHashes->data() : computed.data();
    std::vector<QuestItem*> found(count, nullptr);
    // The item the first slot of text `t` names; null for an empty slot. Only a hint:
    // a position that no longer fits the data is skipped here and sorted out by Locate.
    auto firstSlotItem = [&](std::size_t t, std::size_t mask) -> const QuestItem* {
        const ItemPosition& at = index.slots[hashes[t] & mask].at;
        if (at.quest >= quests.size() || at.item >= quests[at.quest].items.size()) return nullptr;
        return &quests[at.quest].items[at.item];
    };
    for (std::size_t i = 0; i < count + kSlotsAhead; ++i) {
        // Read afresh each time: a stale index found below is rebuilt.
        const std::size_t mask = index.slots.size() - 1;
        if (i < count) {
            if (!hashed) computed[i] = HashText(texts[i]);
            __builtin_prefetch(&index.slots[hashes[i] & mask]);
        }
        // The indexes below wrap around while i is small and then fail the test.
        const std::size_t itemNext = i - (kSlotsAhead - kItemsAhead);
        if (itemNext < count) {
            if (const QuestItem* item = firstSlotItem(itemNext, mask)) __builtin_prefetch(item);
        }
        const std::size_t textNext = i - (kSlotsAhead - kTextsAhead);
        if (textNext < count) {
            if (const QuestItem* item = firstSlotItem(textNext, mask)) {
                // Both texts whole, as far as a long paragraph: the comparison reads them.
                constexpr std::size_t kAtMost = 1024;
                const std::string_view text = texts[textNext];
                const std::size_t itemSpan = std::min(item->text.size(), kAtMost);
                const std::size_t textSpan = std::min(text.size(), kAtMost);
                for (std::size_t at = 0; at < itemSpan; at += 64)
                    __builtin_prefetch(item->text.data() + at);
                for (std::size_t at = 0; at < textSpan; at += 64)
                    __builtin_prefetch(text.data() + at);
            }
        }
        const std::size_t now = i - kSlotsAhead;
        if (now < count) {
            if (const ItemPosition* at = Locate(texts[now], hashes[now]))
                found[now] = &quests[at->quest].items[at->item];
        }
    }
    return found;
}

const QuestDatabase::ItemPosition* QuestDatabase::Locate(std::string_view text, std::size_t hash) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0) RebuildIndex();
        const std::size_t mask = index.slots.size() - 1;
        bool stale = false;
        for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
            const TextIndex::Slot& slot = index.slots[s];
            if (slot.at.quest == TextIndex::kNoQuest) break;
            if (slot.hash != hash) continue;
            // Check the position against the data, so that a change made by hand
            // without InvalidateIndex() can't reach past the end; a fresh index
            // always passes.
            const ItemPosition& at = slot.at;
            if (at.quest >= quests.size() || at.item >= quests[at.quest].items.size()) {
                stale = true;
                break;
            }
            if (quests[at.quest].items[at.item].text == text) return &at;
        }
        if (!stale) return nullptr;
    }
    return nullptr;
}

void QuestDatabase::RebuildIndex() {
    std::size_t itemCount = 0;
    for (const Quest& quest : quests) itemCount += quest.items.size();
    std::size_t size = 16;
    while (size < 2 * itemCount) size *= 2;

    index.slots.assign(size, TextIndex::Slot{});
    const std::size_t mask = size - 1;
    for (std::size_t q = 0; q < quests.size(); ++q) {
        const std::vector<QuestItem>& items = quests[q].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::string& text = items[i].text;
            const std::size_t hash = HashText(text);
            std::size_t s = hash & mask;
            // A text held twice keeps its first item: scanning in database order,
            // the first one in wins.
            for (;; s = (s + 1) & mask) {
                const TextIndex::Slot& slot = index.slots[s];
                if (slot.at.quest == TextIndex::kNoQuest) break;
                if (slot.hash == hash && quests[slot.at.quest].items[slot.at.item].text == text)
                    break;
            }
            if (index.slots[s].at.quest == TextIndex::kNoQuest)
                index.slots[s] = TextIndex::Slot{hash, ItemPosition{q, i}};
        }
    }
    index.builtAt = StructureGeneration();
}
