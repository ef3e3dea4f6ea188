#include "questdb/quest_merge.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

struct Holder {
    std::size_t quest;
    std::size_t item;
    bool finisher;
};

// The result so far without a copy of MINE: MINE's own lookups, then the texts the merge
// has appended. MINE's holder of a text always comes first, as its quests do.
class MergedView {
public:
    MergedView(QuestDatabase& mine, QuestMerge& merge)
        : mine(mine), merge(merge), quests(mine.quests.size()) {}

    std::optional<Holder> Find(std::string_view text) {
        if (auto [quest, item] = mine.FindQuestAndItem(text); item) {
            return Holder{static_cast<std::size_t>(quest - mine.quests.data()),
                          static_cast<std::size_t>(item - quest->items.data()), item->finisher};
        }
        const auto found = appended.find(text);
        if (found == appended.end()) return std::nullopt;
        return found->second;
    }

    std::size_t NewQuest() { return quests++; }

    // `text` stays valid as long as `theirs` does, which outlives the view.
    void Append(std::size_t quest, std::string_view text, bool finisher) {
        std::size_t& count = ItemsOf(quest);
        appended.emplace(text, Holder{quest, count, finisher});
        merge.added.push_back(MergedItem{static_cast<std::uint32_t>(quest),
                                         static_cast<std::uint32_t>(count), std::string(text),
                                         finisher});
        ++count;
    }

private:
    std::size_t& ItemsOf(std::size_t quest) {
        const auto [at, fresh] = itemCounts.try_emplace(quest, 0);
        if (fresh && quest < mine.quests.size()) at->second = mine.quests[quest].items.size();
        return at->second;
    }

    QuestDatabase& mine;
    QuestMerge& merge;
    std::size_t quests;
    std::unordered_map<std::string_view, Holder> appended;
    std::unordered_map<std::size_t, std::size_t> itemCounts;  // of the quests that grew
};

// The items a quest holds now, once the first `steps` of `added` have gone in (forwards)
// or come out (backwards); `counts` keeps the quests the steps have changed so far.
std::size_t ItemsNow(const QuestDatabase& database,
                     std::unordered_map<std::uint32_t, std::size_t>& counts, std::uint32_t quest) {
    const auto [at, fresh] = counts.try_emplace(quest, 0);
    if (fresh && quest < database.quests.size()) at->second = database.quests[quest].items.size();
    return at->second;
}

}  // namespace

QuestMerge PlanMerge(QuestDatabase& mine, const QuestDatabase& theirs) {
    QuestMerge merge;
    MergedView result(mine, merge);
    for (const Quest& theirQuest : theirs.quests) {
        const std::vector<QuestItem>& items = theirQuest.items;
        TheirQuestOutcome outcome;
        std::unordered_set<std::string_view> seen;
        std::vector<std::size_t> fresh;  // their items whose text the result lacks
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!seen.insert(items[i].text).second) continue;
            const std::optional<Holder> holder = result.Find(items[i].text);
            if (!holder) {
                fresh.push_back(i);
                continue;
            }
            if (holder->finisher != items[i].finisher)
                outcome.disagreements.push_back({i, holder->quest, holder->item, holder->finisher});
            if (std::find(outcome.owners.begin(), outcome.owners.end(), holder->quest) ==
                outcome.owners.end())
                outcome.owners.push_back(holder->quest);
        }
        merge.finishersDisagreed += outcome.disagreements.size();

        if (outcome.owners.size() > 1) {
            std::sort(outcome.owners.begin(), outcome.owners.end());
            outcome.kind = TheirQuestOutcome::Kind::LeftOut;
            ++merge.questsLeftOut;
        } else if (!fresh.empty()) {
            const bool added = outcome.owners.empty();
            outcome.kind =
                added ? TheirQuestOutcome::Kind::Added : TheirQuestOutcome::Kind::Extended;
            outcome.quest = added ? result.NewQuest() : outcome.owners.front();
            outcome.items = fresh.size();
            for (std::size_t f : fresh)
                result.Append(outcome.quest, items[f].text, items[f].finisher);
            if (added) {
                ++merge.questsAdded;
            } else {
                merge.itemsAdded += fresh.size();
            }
        } else if (!outcome.owners.empty()) {
            outcome.kind = TheirQuestOutcome::Kind::Held;
            outcome.quest = outcome.owners.front();
            ++merge.questsHeld;
        }
        merge.outcomes.push_back(std::move(outcome));
    }
    return merge;
}

bool AppendMerged(QuestDatabase& database, const std::vector<MergedItem>& added) {
    std::unordered_map<std::uint32_t, std::size_t> counts;
    std::size_t quests = database.quests.size();
    for (const MergedItem& merged : added) {
        const bool newQuest = merged.item == 0;
        if (newQuest ? merged.quest != quests : merged.quest >= quests) return false;
        const std::size_t count = newQuest ? 0 : ItemsNow(database, counts, merged.quest);
        if (merged.item != count) return false;
        counts[merged.quest] = count + 1;
        if (newQuest) ++quests;
    }
    for (const MergedItem& merged : added) {
        Quest& quest =
            merged.item == 0 ? *database.AppendQuest(Quest{}) : database.quests[merged.quest];
        database.AddItem(quest, merged.text, -1, merged.finisher);
    }
    return true;
}

bool RemoveMerged(QuestDatabase& database, const std::vector<MergedItem>& added) {
    std::unordered_map<std::uint32_t, std::size_t> counts;
    std::size_t quests = database.quests.size();
    for (auto merged = added.rbegin(); merged != added.rend(); ++merged) {
        if (merged->quest >= quests) return false;
        const std::size_t count = ItemsNow(database, counts, merged->quest);
        if (count == 0 || merged->item != count - 1 ||
            database.quests[merged->quest].items[merged->item].text != merged->text)
            return false;
        counts[merged->quest] = count - 1;
        if (merged->item == 0) {
            // The quest it started goes with it; it came after every other.
            if (merged->quest != quests - 1) return false;
            --quests;
        }
    }
    for (auto merged = added.rbegin(); merged != added.rend(); ++merged) {
        database.quests[merged->quest].items.pop_back();
        if (merged->item == 0) database.quests.pop_back();
    }
    database.InvalidateIndex();
    return true;
}
