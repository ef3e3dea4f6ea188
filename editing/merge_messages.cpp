#include "editing/merge_messages.h"

#include "editing/editing_messages.h"

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> LeftOutNames(const QuestMerge& merge, const QuestDatabase& theirs,
                                      LeadByteTest isLeadByte) {
    std::vector<std::string> names;
    for (std::size_t q = 0; q < merge.outcomes.size() && names.size() < kMergeNamedLimit; ++q) {
        // A quest is left out for texts that two quests hold: it has items.
        if (merge.outcomes[q].kind != TheirQuestOutcome::Kind::LeftOut) continue;
        names.push_back(
            Abbreviated(theirs.quests[q].items.front().text, kMergeNameLimit, isLeadByte));
    }
    return names;
}

std::string MergeReportMessage(const std::string& path, const QuestMerge& merge,
                               const std::vector<std::string>& leftOutNames) {
    const bool added = merge.questsAdded > 0 || merge.itemsAdded > 0;
    std::string message;
    if (added) {
        message = "Quests merged from " + path + ":\n";
        if (merge.questsAdded > 0)
            message += Counted(merge.questsAdded, "new quest", "new quests") + " added";
        if (merge.questsAdded > 0 && merge.itemsAdded > 0) message += ", and ";
        if (merge.itemsAdded > 0)
            message += Counted(merge.itemsAdded, "entry", "entries") + " added to quests you had";
        message += ".";
    } else {
        message = "Nothing merged from " + path +
                  ": it adds nothing to your quests. Your quest database is as it was.";
    }
    if (merge.questsHeld > 0)
        message += "\n" + std::to_string(merge.questsHeld) + " of its quests you had already.";
    if (merge.questsLeftOut > 0) {
        message += "\n\n";
        message += merge.questsLeftOut == 1
                       ? "Left out, as its entries belong to two or more of your quests:"
                       : "Left out, as the entries of each belong to two or more of your quests:";
        for (const std::string& name : leftOutNames) message += "\n\"" + name + "\"";
        if (merge.questsLeftOut > leftOutNames.size())
            message +=
                "\nand " + std::to_string(merge.questsLeftOut - leftOutNames.size()) + " more.";
    }
    if (added) {
        message += std::string("\n\n") + kUndoItem + " " + kMergeQuestsStep +
                   " in the Edit menu takes the merge back.";
    }
    return message;
}

std::string MergeRefusedMessage(const std::string& path, const std::string& reason) {
    return "Nothing merged from " + path + ":\n" + reason + "\n\nYour quest database is as it was.";
}

std::string MergeDamagedReason(std::size_t bytesRead, std::size_t bytes, std::size_t questsRead) {
    if (questsRead == 0) return "It is no quest database, or one damaged from its start.";
    return "It is a damaged quest database: only its first " + std::to_string(bytesRead) + " of " +
           std::to_string(bytes) +
           " bytes hold whole quests. Lorebinder merges a database whole or not at all.";
}

std::string MergeOwnDatabaseMessage(const std::string& path) {
    return path +
           " is the quest database that Lorebinder has open already: it has nothing to merge. "
           "Choose the database whose quests you want to take in.";
}
