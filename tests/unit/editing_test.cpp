#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/editing_messages.h"
#include "editing/merge_messages.h"
#include "editing/quest_editor.h"
#include "views/list_filter.h"
#include "journal/journal_matching.h"

namespace {

std::vector<JournalEntry> Journal(const std::vector<std::string>& texts) {
    std::vector<JournalEntry> journal(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) journal[i].text = texts[i];
    return journal;
}

// A database as a file would load it: texts only, no journal links yet.
QuestDatabase Database(const std::vector<std::vector<std::string>>& quests) {
    QuestDatabase database;
    for (const auto& texts : quests) {
        database.quests.emplace_back();
        for (const std::string& text : texts)
            database.AddItem(database.quests.back(), text, -1, false);
    }
    return database;
}

std::vector<std::vector<std::string>> Texts(const QuestDatabase& database) {
    std::vector<std::vector<std::string>> texts;
    for (const Quest& quest : database.quests) {
        texts.emplace_back();
        for (const QuestItem& item : quest.items) texts.back().push_back(item.text);
    }
    return texts;
}

// Every entry is collated exactly when an item holds its text, and the first such item
// carries the entry's position; no other item claims a position.
void ExpectLinked(QuestDatabase& database, const std::vector<JournalEntry>& journal) {
    for (std::size_t p = 0; p < journal.size(); ++p) {
        QuestItem* item = database.FindItem(journal[p].text);
        EXPECT_EQ(journal[p].collated, item ? 1 : 0) << "entry " << p;
        if (item) {
            EXPECT_EQ(item->journalIndex, static_cast<std::int32_t>(p)) << "entry " << p;
        }
    }
    for (const Quest& quest : database.quests) {
        for (const QuestItem& item : quest.items) {
            if (item.journalIndex < 0) continue;
            ASSERT_LT(static_cast<std::size_t>(item.journalIndex), journal.size()) << item.text;
            EXPECT_EQ(journal[item.journalIndex].text, item.text);
        }
    }
}

}  // namespace

TEST(QuestEditor, StartAddAndRemoveKeepEntriesAndItemsLinked) {
    auto journal = Journal({"Met the ferryman.", "Paid the toll.", "Crossed the river.",
                            "Lost my boots.", "Found a pair of boots."});
    QuestDatabase database = Database({{"Heard of the ferry."}});
    MatchJournal(journal, database);

    QuestEditor editor(database, journal);
    ASSERT_TRUE(editor.Take(*StartQuestStep(database, journal, 0)));
    ASSERT_EQ(database.quests.size(), 2u) << "a new quest goes last";
    editor.Take(AddToQuestStep(database, database.quests[1], journal, 2));
    editor.Take(AddToQuestStep(database, database.quests[1], journal, 1));
    editor.Take(*StartQuestStep(database, journal, 3));
    EXPECT_EQ(Texts(database), (std::vector<std::vector<std::string>>{
                                   {"Heard of the ferry."},
                                   {"Met the ferryman.", "Crossed the river.", "Paid the toll."},
                                   {"Lost my boots."}}));
    ExpectLinked(database, journal);

    // A text the database holds already, here in an item the journal lacks.
    journal.push_back(JournalEntry{});
    journal.back().text = "Heard of the ferry.";
    const auto before = Texts(database);
    EXPECT_FALSE(StartQuestStep(database, journal, 5));
    EXPECT_EQ(Texts(database), before);
    EXPECT_EQ(journal[5].collated, 0) << "a refused start marks nothing";
    MatchJournal(journal, database);

    // A middle item goes and the rest keep their order; an only item takes its quest along.
    Quest& crossing = database.quests[1];
    editor.Take(RemoveItemStep(database, crossing, crossing.items[1]));
    editor.Take(RemoveItemStep(database, database.quests[0], database.quests[0].items[0]));
    EXPECT_EQ(Texts(database), (std::vector<std::vector<std::string>>{
                                   {"Met the ferryman.", "Paid the toll."}, {"Lost my boots."}}));
    EXPECT_EQ(journal[2].collated, 0);
    EXPECT_EQ(journal[5].collated, 0);
    ExpectLinked(database, journal);

    // A removed entry can start a quest of its own again.
    ASSERT_TRUE(editor.Take(*StartQuestStep(database, journal, 2)));
    ExpectLinked(database, journal);
}

TEST(QuestEditor, RemovingTheFirstOfTwoItemsWithOneTextHandsTheEntryToTheOther) {
    auto journal = Journal({"Spoke to the smith.", "The forge is cold."});
    QuestDatabase database = Database(
        {{"Spoke to the smith.", "The forge is cold."}, {"Bought coal.", "The forge is cold."}});
    MatchJournal(journal, database);
    ASSERT_EQ(database.quests[0].items[1].journalIndex, 1);
    ASSERT_EQ(database.quests[1].items[1].journalIndex, -1);

    QuestEditor editor(database, journal);
    editor.Take(RemoveItemStep(database, database.quests[0], database.quests[0].items[1]));
    EXPECT_EQ(journal[1].collated, 1) << "the database still holds the text";
    EXPECT_EQ(database.quests[1].items[1].journalIndex, 1);
    ExpectLinked(database, journal);

    editor.Take(RemoveItemStep(database, database.quests[1], database.quests[1].items[1]));
    EXPECT_EQ(journal[1].collated, 0);
    EXPECT_EQ(Texts(database),
              (std::vector<std::vector<std::string>>{{"Spoke to the smith."}, {"Bought coal."}}));
    ExpectLinked(database, journal);
}

// The report names a left-out quest by its first text, cut short when long, the first
// ten of them, and counts the rest.
TEST(MergeReport, NamesTheFirstTenQuestsLeftOutAndCountsTheRest) {
    QuestDatabase mine = Database({{"a"}, {"b"}});
    std::vector<std::vector<std::string>> quests = {{"new"}, {"a"}};
    for (int q = 0; q < 12; ++q) quests.push_back({"their " + std::to_string(q), "a", "b"});
    quests[2][0] = std::string(kMergeNameLimit + 1, 'x');
    const QuestDatabase theirs = Database(quests);
    const QuestMerge merge = PlanMerge(mine, theirs);
    const std::vector<std::string> names =
        LeftOutNames(merge, theirs, [](unsigned char) { return false; });

    std::vector<std::string> expected = {std::string(kMergeNameLimit, 'x') + "..."};
    for (int q = 1; q < 10; ++q) expected.push_back("their " + std::to_string(q));
    EXPECT_EQ(names, expected);
    std::string list;
    for (const std::string& name : names) list += "\n\"" + name + "\"";
    EXPECT_EQ(MergeReportMessage("friend.lbd", merge, names),
              "Quests merged from friend.lbd:\n1 new quest added.\n1 of its quests you had "
              "already.\n\nLeft out, as the entries of each "
              "belong to two or more of your quests:" +
                  list + "\nand 2 more.\n\n" + kUndoItem + " " + kMergeQuestsStep +
                  " in the Edit menu takes the merge back.");
}

TEST(QuestEditor, PositionsAndRowsStayInRange) {
    const auto journal = Journal({"a", "b", "c"});
    EXPECT_TRUE(IsJournalPosition(journal, 0));
    EXPECT_TRUE(IsJournalPosition(journal, 2));
    EXPECT_FALSE(IsJournalPosition(journal, 3));
    EXPECT_FALSE(IsJournalPosition(journal, -1));
    // Item data is pointer-sized: a value whose low 32 bits are 0 is no position.
    EXPECT_FALSE(IsJournalPosition(journal, std::int64_t{1} << 32));
    EXPECT_FALSE(IsJournalPosition(journal, INT64_MIN));
    EXPECT_FALSE(IsJournalPosition({}, 0));

    EXPECT_EQ(RowAfterDeletion(1, 3), 1) << "the next row moves up into the place";
    EXPECT_EQ(RowAfterDeletion(3, 3), 2) << "the last row gone: the new last row";
    EXPECT_EQ(RowAfterDeletion(0, 0), -1) << "the only row gone: no selection";
}
