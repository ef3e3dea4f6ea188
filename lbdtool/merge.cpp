#include "lbdtool/merge.h"

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

}  // namespace

std::vector<std::string> MergeReportLines(const QuestMerge& merge) {
    std::vector<std::string> lines;
    for (std::size_t q = 0; q < merge.outcomes.size(); ++q) {
        const TheirQuestOutcome& outcome = merge.outcomes[q];
        const std::string theirQuest = "their quest " + Number(q);
        for (const FinisherDisagreement& both : outcome.disagreements) {
            lines.push_back(theirQuest + ", item " + Number(both.theirItem) + ": " +
                            (both.finisherHere ? "no finisher there, a finisher here"
                                               : "a finisher there, none here") +
                            " (quest " + Number(both.quest) + ", item " + Number(both.item) +
                            "), which stays as it is here");
        }
        switch (outcome.kind) {
            case TheirQuestOutcome::Kind::LeftOut:
                lines.push_back(theirQuest + ": left out, its texts belong to quests " +
                                NumberList(outcome.owners) + " here");
                break;
            case TheirQuestOutcome::Kind::Added:
                lines.push_back(theirQuest + ": added as quest " + Number(outcome.quest) +
                                ", with " + Counted(outcome.items, "item", "items"));
                break;
            case TheirQuestOutcome::Kind::Extended:
                lines.push_back(theirQuest + ": " + Counted(outcome.items, "item", "items") +
                                " added to quest " + Number(outcome.quest));
                break;
            case TheirQuestOutcome::Kind::NoItems:
            case TheirQuestOutcome::Kind::Held:
                break;
        }
    }
    lines.push_back(Counted(merge.questsAdded, "quest", "quests") + " added, " +
                    Counted(merge.itemsAdded, "item", "items") + " added to existing quests, " +
                    Counted(merge.questsLeftOut, "quest", "quests") + " left out, " +
                    Counted(merge.finishersDisagreed, "finisher flag", "finisher flags") +
                    " disagreed");
    return lines;
}
