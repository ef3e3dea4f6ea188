#include "lbdtool/check.h"

#include <unordered_map>
#include <utility>

#include "journal/journal_matching.h"

namespace {

std::string ItemName(std::size_t quest, std::size_t item) {
    return "quest " + std::to_string(quest + 1) + ", item " + std::to_string(item + 1);
}

// What keeps a text from ever being a journal entry's: the reader deletes "@"
// and "#", cuts the text at "<", and ends a line at a line feed and the file at
// byte 26.
std::string UnreachableBecause(const std::string& text) {
    static const std::pair<char, const char*> kBlockers[] = {
        {'@', "\"@\""}, {'#', "\"#\""}, {'<', "\"<\""}, {'\n', "a line feed"}, {'\x1A', "byte 26"}};
    std::vector<const char*> found;
    for (const auto& [byte, name] : kBlockers) {
        if (text.find(byte) != std::string::npos) found.push_back(name);
    }
    std::string because;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (i > 0) because += i + 1 == found.size() ? " and " : ", ";
        because += found[i];
    }
    return because;
}

}  // namespace

std::vector<std::string> CheckDatabase(QuestDatabase& database) {
    std::unordered_map<const QuestItem*, std::pair<std::size_t, std::size_t>> positions;
    for (std::size_t q = 0; q < database.quests.size(); ++q) {
        const std::vector<QuestItem>& items = database.quests[q].items;
        for (std::size_t i = 0; i < items.size(); ++i) positions[&items[i]] = {q, i};
    }

    std::vector<std::string> findings;
    for (std::size_t q = 0; q < database.quests.size(); ++q) {
        const std::vector<QuestItem>& items = database.quests[q].items;
        if (items.empty()) findings.push_back("quest " + std::to_string(q + 1) + ": no items");
        for (std::size_t i = 0; i < items.size(); ++i) {
            const QuestItem* first = database.FindItem(items[i].text);
            if (first != &items[i]) {
                const auto [firstQuest, firstItem] = positions.at(first);
                findings.push_back(ItemName(q, i) + ": the same text as " +
                                   ItemName(firstQuest, firstItem) +
                                   ", which takes the entry, so this item is never used");
            }
            const std::string because = UnreachableBecause(items[i].text);
            if (!because.empty()) {
                findings.push_back(ItemName(q, i) +
                                   ": no journal entry can have this text: it holds " + because);
            }
        }
    }
    return findings;
}

JournalFigures MeasureJournal(std::vector<JournalEntry>& journal, QuestDatabase& database) {
    MatchJournal(journal, database);
    JournalFigures figures;
    figures.entries = journal.size();
    for (const JournalEntry& entry : journal) {
        if (entry.collated == 0) ++figures.entriesUnheld;
    }
    for (const Quest& quest : database.quests) {
        std::size_t reached = 0;
        for (const QuestItem& item : quest.items) {
            if (item.journalIndex >= 0) ++reached;
        }
        if (reached == 0) continue;
        ++figures.questsReached;
        figures.itemsReached += reached;
        if (quest.IsFinished()) ++figures.questsFinished;
    }
    return figures;
}
