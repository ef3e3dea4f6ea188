#include "views/quest_groups.h"

#include <algorithm>

std::vector<QuestGroup> GroupQuests(const QuestDatabase& database,
                                    const std::vector<JournalEntry>& journal, bool showUnfinished,
                                    bool showFinished) {
    std::vector<QuestGroup> groups;

    for (const Quest& quest : database.quests) {
        QuestGroup group;
        group.quest = &quest;
        for (const QuestItem& item : quest.items) {
            if (!IsJournalPosition(journal, item.journalIndex)) continue;
            group.entries.push_back({item.journalIndex, item.finisher});
            group.finished = group.finished || item.finisher;
        }
        if (group.entries.empty()) continue;
        if (group.finished ? !showFinished : !showUnfinished) continue;

        std::sort(group.entries.begin(), group.entries.end(),
                  [](const QuestGroupEntry& a, const QuestGroupEntry& b) {
                      return a.position < b.position;
                  });
        groups.push_back(std::move(group));
    }

    // Positions belong to one item each, so the keys are distinct; the stable
    // sort keeps the outcome fixed should a damaged database break that.
    std::stable_sort(groups.begin(), groups.end(), [](const QuestGroup& a, const QuestGroup& b) {
        return a.entries.front().position < b.entries.front().position;
    });
    return groups;
}
