// Reading journal.htm as the program does it, at start-up and on Reload Journal: the
// entries it keeps, the links to the database, and what the user hears of problems.
#include <algorithm>

#include "framework/file_exception.h"
#include "framework/file_faults.h"
#include "tests/gui/sample_quests.h"

namespace {

using namespace sample;

class ReadJournal : public MainDialogTest {
protected:
    std::string MissingJournalMessage() const {
        return JournalOpenFailedMessage(PathOf("journal.htm"));
    }

    // Each item's journalIndex, quest by quest.
    std::vector<std::vector<int>> JournalIndexes() {
        std::vector<std::vector<int>> indexes;
        for (const Quest& quest : Dialog().database.quests) {
            indexes.emplace_back();
            for (const QuestItem& item : quest.items) indexes.back().push_back(item.journalIndex);
        }
        return indexes;
    }

    // The links hold both ways: every position an item holds is a collated entry with the
    // item's text, and every collated entry is held by the first item with its text.
    void ExpectConsistentLinks() {
        const std::vector<JournalEntry>& journal = Dialog().journal;
        std::vector<int> holders(journal.size(), 0);
        for (const Quest& quest : Dialog().database.quests) {
            for (const QuestItem& item : quest.items) {
                if (item.journalIndex < 0) continue;
                ASSERT_LT(item.journalIndex, static_cast<int>(journal.size())) << item.text;
                EXPECT_EQ(journal[item.journalIndex].text, item.text);
                ++holders[item.journalIndex];
            }
        }
        for (size_t i = 0; i < journal.size(); ++i) {
            EXPECT_EQ(journal[i].collated, holders[i]) << journal[i].text;
            if (journal[i].collated) {
                EXPECT_EQ(Dialog().database.FindItem(journal[i].text)->journalIndex,
                          static_cast<int>(i));
            }
        }
    }
};

TEST_F(ReadJournal, StartUpReadsDistinctEntriesAndLinksThemToTheDatabase) {
    WriteFile("journal.htm", Journal());
    WriteFile("quests.lbd", Database());
    StartDialog();
    EXPECT_TRUE(Boxes().empty());

    const std::vector<JournalEntry>& journal = Dialog().journal;
    ASSERT_EQ(journal.size(), size_t(kJournalSize)) << "the repeated entry is dropped";
    for (int i = 0; i < kJournalSize; ++i) {
        EXPECT_EQ(journal[i].heading, kEntries[i].first);
        EXPECT_EQ(journal[i].text, kEntries[i].second);
    }
    std::vector<int> collated;
    for (const JournalEntry& entry : journal) collated.push_back(entry.collated);
    EXPECT_EQ(collated, (std::vector<int>{1, 1, 0, 1, 1, 1, 0, 1}));
    EXPECT_EQ(JournalIndexes(), (std::vector<std::vector<int>>{{1, 4, -1}, {5, 0, 3}, {-1}, {7}}));
    ExpectConsistentLinks();
}

TEST_F(ReadJournal, MissingJournalIsReportedAndChangesNothing) {
    // At start-up: the message before the window, then empty views.
    WriteFile("quests.lbd", Database());
    ExpectBox(MissingJournalMessage());
    StartDialog();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(Boxes()[0].mainWindowVisible);
    EXPECT_TRUE(Dialog().journal.empty());
    EXPECT_EQ(JournalIndexes(),
              (std::vector<std::vector<int>>{{-1, -1, -1}, {-1, -1, -1}, {-1}, {-1}}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/0");
    EXPECT_EQ(TreeCount(), 0);

    // Later, once a journal was read: the previous one stays, links and all, when the
    // journal is held open by another program that shares it with nobody (which the message
    // says) or missing.
    WriteFile("journal.htm", Journal());
    Click(IDC_RELOAD_JOURNAL);
    ASSERT_EQ(Dialog().journal.size(), size_t(kJournalSize));
    const auto indexesBefore = JournalIndexes();
    const std::vector<std::string> rowsBefore = ListRows();

    HANDLE held = CreateFileA(PathOf("journal.htm").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectBox(
        JournalOpenRefusedMessage(PathOf("journal.htm"), SystemErrorText(ERROR_SHARING_VIOLATION)));
    Click(IDC_RELOAD_JOURNAL);
    CloseHandle(held);

    RemoveFile("journal.htm");
    ExpectBox(MissingJournalMessage());
    Click(IDC_RELOAD_JOURNAL);

    ASSERT_EQ(Dialog().journal.size(), size_t(kJournalSize));
    EXPECT_EQ(Dialog().journal[5].text, kKeeperFound);
    EXPECT_EQ(Dialog().journal[5].collated, 1);
    EXPECT_EQ(JournalIndexes(), indexesBefore);
    EXPECT_EQ(ListRows(), rowsBefore);
    ExpectConsistentLinks();
}

TEST_F(ReadJournal, MalformedJournalWarnsOnceAndKeepsTheRest) {
    WriteFile("quests.lbd", Database());
    // A text before any heading, two headings in a row, an unknown line: one warning,
    // for the first of them, and every well-formed entry still read, the last one
    // too, although no line end follows it.
    WriteFile("journal.htm", "Orphan text<P>\r\n" + JournalText({{"Day 1", kStranger}}) +
                                 "<B>Day 2</B><BR>\n<B>Day 2 again</B><BR>\n" + kInn + "<P>\n" +
                                 "<b>Day 3</b><br>\n<I>Day 3</I><BR>\n" + kToll + "<P>");
    ExpectBox(std::string(kJournalFormatWarning));
    StartDialog();
    ASSERT_EQ(Dialog().journal.size(), 3u);
    EXPECT_EQ(Dialog().journal[1].heading, "Day 2") << "the first of two headings counts";
    EXPECT_EQ(Dialog().journal[2].text, kToll);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 1/3");

    // An unknown line first: the long warning, quoting it.
    WriteFile("journal.htm", "<H1>My journal</H1>\r\n" + Journal() + "stray text<P> \r\n");
    ExpectBox(std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) +
              "<H1>My journal</H1>");
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Dialog().journal.size(), size_t(kJournalSize));
    ExpectConsistentLinks();
}

TEST_F(ReadJournal, ReadErrorPartWayKeepsWhatWasReadConsistent) {
    // A long journal, so that the read takes several chunks, with each entry in a
    // quest of its own and every tenth a finisher.
    std::vector<TestEntry> entries;
    std::vector<TestQuest> quests;
    for (int i = 0; i < 3000; ++i) {
        std::string text = "Entry " + std::to_string(i) + " of a long and eventful journey.";
        entries.push_back({"Day " + std::to_string(i / 10), text});
        quests.push_back({{text, i % 10 == 0}});
    }
    const std::string journalBytes = JournalText(entries);
    ASSERT_GT(journalBytes.size(), 3u * 64 * 1024);
    WriteFile("journal.htm", journalBytes + "\r\n");
    WriteFile("quests.lbd", DatabaseImage(quests));
    StartDialog();
    ASSERT_EQ(Dialog().journal.size(), 3000u);
    Click(IDC_SHOW_FINISHED);
    ASSERT_EQ(TreeCount(), 3000);

    // The game writes the journal anew, and the second read of it fails: what came
    // before it stays, the rest is gone without a trace, and the user learns which file
    // failed and why.
    WriteFile("journal.htm", journalBytes);
    InjectFileFault(FileOperation::Read, 2, "journal.htm", ERROR_READ_FAULT);
    ExpectBoxStartingWith("Couldn't read the file \"" + PathOf("journal.htm") + "\":\n");
    Click(IDC_RELOAD_JOURNAL);
    ASSERT_EQ(Boxes().size(), 1u);
    const size_t kept = Dialog().journal.size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 3000u);
    EXPECT_NE(Boxes()[0].text.find(" " + std::to_string(kept) + " entries"), std::string::npos)
        << Boxes()[0].text;
    const std::string& lastKept = Dialog().journal.back().text;
    EXPECT_EQ(lastKept, entries[kept - 1].second) << "no entry is cut short";
    ExpectConsistentLinks();
    EXPECT_EQ(Dialog().database.quests[kept].items[0].journalIndex, -1);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/" + std::to_string(kept));
    EXPECT_EQ(TreeCount(), static_cast<int>(kept));

    // The file reads again once the fault is gone, from where the failure stopped.
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(Dialog().journal.size(), 3000u);
    EXPECT_EQ(TreeCount(), 3000);
    ExpectConsistentLinks();
}

}  // namespace
