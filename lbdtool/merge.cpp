#include "lbdtool/merge.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {

std::string Number(std::size_t index) {
    return std::to_string(index + 1);
}

// "2", "2 and 5", "2, 5 and 7".
std::string NumberList(const std::vector<std::size_t>& indexes) {
    std::string list;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (i > 0) list += i + 1 == indexes.size() ? " and " : ", ";
        list += Number(indexes[i]);
    }
    return list;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

struct HeldItem {
    std::size_t theirItem;
    std::size_t quest;  // of the result
    std::size_t item;
    bool finisher;  // the result's
};

}  // namespace

MergeReport MergeDatabases(QuestDatabase& result, const QuestDatabase& theirs) {
    MergeReport report;
    for (std::size_t q = 0; q < theirs.quests.size(); ++q) {
        const std::vector<QuestItem>& items = theirs.quests[q].items;
        const std::string theirQuest = "their quest " + Number(q);

        // Each text once, the first time the quest holds it.
        std::unordered_set<std::string_view> seen;
        std::vector<HeldItem> held;
        std::vector<std::size_t> fresh;  // their items whose text the result lacks
        std::vector<std::size_t> owners;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!seen.insert(items[i].text).second) continue;
            Quest* quest = result.FindQuest(items[i].text);
            if (!quest) {
                fresh.push_back(i);
                continue;
            }
            const QuestItem* item = result.FindItem(items[i].text);
            const auto owner = static_cast<std::size_t>(quest - result.quests.data());
            held.push_back(
                {i, owner, static_cast<std::size_t>(item - quest->items.data()), item->finisher});
            if (std::find(owners.begin(), owners.end(), owner) == owners.end())
                owners.push_back(owner);
        }

        for (const HeldItem& both : held) {
            if (both.finisher == items[both.theirItem].finisher) continue;
            ++report.finishersDisagreed;
            report.lines.push_back(theirQuest + ", item " + Number(both.theirItem) + ": " +
                                   (both.finisher ? "no finisher there, a finisher here"
                                                  : "a finisher there, none here") +
                                   " (quest " + Number(both.quest) + ", item " + Number(both.item) +
                                   "), which stays as it is here");
        }

        if (owners.size() > 1) {
            std::sort(owners.begin(), owners.end());
            ++report.questsLeftOut;
            report.lines.push_back(theirQuest + ": left out, its texts belong to quests " +
                                   NumberList(owners) + " here");
        } else if (owners.empty() && !fresh.empty()) {
            const QuestItem& first = items[fresh.front()];
            Quest* added = result.AddQuest(first.text, -1, first.finisher);
            for (std::size_t f = 1; f < fresh.size(); ++f)
                result.AddItem(*added, items[fresh[f]].text, -1, items[fresh[f]].finisher);
            ++report.questsAdded;
            report.lines.push_back(theirQuest + ": added as quest " +
                                   Number(result.quests.size() - 1) + ", with " +
                                   Counted(fresh.size(), "item", "items"));
        } else if (!fresh.empty()) {
            Quest& owner = result.quests[owners.front()];
            for (std::size_t f : fresh) result.AddItem(owner, items[f].text, -1, items[f].finisher);
            report.itemsAdded += fresh.size();
            report.lines.push_back(theirQuest + ": " + Counted(fresh.size(), "item", "items") +
                                   " added to quest " + Number(owners.front()));
        }
    }
    report.lines.push_back(
        Counted(report.questsAdded, "quest", "quests") + " added, " +
        Counted(report.itemsAdded, "item", "items") + " added to existing quests, " +
        Counted(report.questsLeftOut, "quest", "quests") + " left out, " +
        Counted(report.finishersDisagreed, "finisher flag", "finisher flags") + " disagreed");
    return report;
}
