#include "views/quest_groups.h"

#include <algorithm>

bool IsShownQuest(const Quest& quest, const std::vector<JournalEntry>& journal, bool showUnfinished,
                  bool showFinished, std::int32_t* first) {
    std::int32_t earliest = -1;
    bool finished = false;
    for (const QuestItem& item : quest.items) {
        if (!IsJournalPosition(journal, item.journalIndex)) continue;
        if (earliest < 0 || item.journalIndex < earliest) earliest = item.journalIndex;
        finished = finished || item.finisher;
    }
    if (first) *first = earliest;
    return earliest >= 0 && (finished ? showFinished : showUnfinished);
}

QuestGroup GroupOf(const Quest& quest, const std::vector<JournalEntry>& journal) {
    QuestGroup group;
    group.quest = &quest;
    for (const QuestItem& item : quest.items) {
        if (!IsJournalPosition(journal, item.journalIndex)) continue;
        group.entries.push_back({item.journalIndex, item.finisher});
        group.finished = group.finished || item.finisher;
    }
    std::sort(
        group.entries.begin(), group.entries.end(),
        [](const QuestGroupEntry& a, const QuestGroupEntry& b) { return a.position < b.position; });
    return group;
}

std::vector<QuestGroup> GroupQuests(const QuestDatabase& database,
                                    const std::vector<JournalEntry>& journal, bool showUnfinished,
                                    bool showFinished) {
    std::vector<QuestGroup> groups;
    for (const Quest& quest : database.quests) {
        if (IsShownQuest(quest, journal, showUnfinished, showFinished))
            groups.push_back(GroupOf(quest, journal));
    }

    // Positions belong to one item each, so the keys are distinct; the stable
    // sort keeps the outcome fixed should a damaged database break that.
    std::stable_sort(groups.begin(), groups.end(), [](const QuestGroup& a, const QuestGroup& b) {
        return a.entries.front().position < b.entries.front().position;
    });
    return groups;
}
