// journal.htm as a player may meet it: held open by the game, a folder, binary
// garbage, one line of 50 MB, a journal of 100,000 entries. Any message names the
// file, the program stays up and shows what it can, and neither file on disk changes
// unless the user saves. (How long each takes is a figure of tools/timing-run.)
#include <algorithm>

#include "framework/file.h"
#include "framework/file_exception.h"
#include "tests/gui/sample_quests.h"
#include "tests/support/journal_generator.h"
#include "views/shown_text_win.h"

namespace {

using namespace sample;

class BadJournal : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteFile("quests.lbd", Database());
    }

    std::string RefusedMessage(const std::string& reason) const {
        return JournalOpenRefusedMessage(PathOf("journal.htm"), reason);
    }

    // No item may point past the journal, whatever the journal held.
    void ExpectLinksInsideTheJournal() {
        for (const Quest& quest : Dialog().database.quests)
            for (const QuestItem& item : quest.items)
                EXPECT_LT(item.journalIndex, static_cast<int>(Dialog().journal.size()));
    }

    // Closes with No to saving: the database file must be as it was.
    void CloseWithoutSaving(const std::string& database) {
        ExpectBox(kSaveQuestion, IDNO);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), database);
    }
};

TEST_F(BadJournal, JournalThatWontOpenAtStartUpSaysWhyAndReloadsLater) {
    WriteFile("journal.htm", Journal());
    // The game holding the file open, as it may while it writes.
    HANDLE held = CreateFileA(PathOf("journal.htm").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectBox(RefusedMessage(SystemErrorText(ERROR_SHARING_VIOLATION)));
    StartDialog();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(Boxes()[0].mainWindowVisible);
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_TRUE(Dialog().journal.empty());
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/0");
    EXPECT_EQ(TreeCount(), 0);
    EXPECT_EQ(ImageOf(Dialog().database), Database());

    // Once the game lets go, Reload Journal reads it.
    CloseHandle(held);
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(Dialog().journal.size(), size_t(kJournalSize));
    EXPECT_EQ(ReadFile("journal.htm"), Journal());
    CloseWithoutSaving(Database());

    // A folder where the journal belongs.
    RemoveFile("journal.htm");
    ASSERT_TRUE(CreateDirectoryA(PathOf("journal.htm").c_str(), nullptr));
    ExpectBox(RefusedMessage(kIsFolderReason));
    StartDialog();
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(Dialog().journal.empty());
    CloseWithoutSaving(Database());
}

TEST_F(BadJournal, BinaryGarbageWarnsOnceInFewWordsAndHarmsNothing) {
    // A megabyte of noise, with line ends and the grammar's markers now and then.
    const std::string garbage = BinaryNoise(1 << 20);
    WriteFile("journal.htm", garbage);
    ExpectBoxStartingWith(std::string(kJournalFormatWarning));
    StartDialog();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_LT(Boxes()[0].text.size(), 600u) << "the quoted line must be short";
    EXPECT_FALSE(Ended());
    EXPECT_EQ(ListCount(), static_cast<int>(Dialog().journal.size()));
    ExpectLinksInsideTheJournal();

    // Every row can be shown.
    for (int row = 0; row < std::min(ListCount(), 50); ++row) SelectListRow(row);
    EXPECT_EQ(Boxes().size(), 1u);
    CloseWithoutSaving(Database());
    EXPECT_EQ(ReadFile("journal.htm"), garbage);
}

TEST_F(BadJournal, FiftyMegabyteLinesAreReadWholeAndShownInPart) {
    const std::string huge = "Lost" + std::string(50 << 20, 'x');

    // A line that is no journal line at all: skipped, quoted in part.
    WriteFile("journal.htm", Journal() + huge + "\r\n" + JournalText({{"Day 8", "After it."}}));
    ExpectBox(std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) +
              huge.substr(0, kQuotedLineLimit) + "...");
    StartDialog();
    EXPECT_EQ(Dialog().journal.size(), size_t(kJournalSize + 1));
    CloseWithoutSaving(Database());

    // An entry of 50 MB that a quest holds: the views show its start, the database
    // keeps all of it.
    const std::string database =
        DatabaseImage({{{kStranger, false}, {huge, true}}, {{kFerryman, false}}});
    WriteFile("quests.lbd", database);
    WriteFile("journal.htm", Journal() + "<B>Day 8</B><BR>\r\n" + huge + "<P>\r\n");
    const std::size_t boxesBefore = Boxes().size();
    StartDialog();
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(Boxes().size(), boxesBefore);
    ASSERT_EQ(Dialog().journal.size(), size_t(kJournalSize + 1));
    EXPECT_EQ(Dialog().journal.back().text, huge);

    const std::string shown = huge.substr(0, kShownTextLimit) + "...";
    const std::vector<std::string> rows = ListRows();
    EXPECT_EQ(rows.back(), shown);
    SelectListRow(ListCount() - 1);
    EXPECT_EQ(GetWindowTextLengthA(Control(IDC_LIST_TEXT)), static_cast<int>(shown.size()));
    HTREEITEM item = static_cast<HTREEITEM>(Dialog().journal.back().treeItem);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(TreeSelection(), item);
    EXPECT_EQ(GetWindowTextLengthA(Control(IDC_TREE_TEXT)), static_cast<int>(shown.size()));

    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), database);
}

TEST_F(BadJournal, HundredThousandEntriesStartReloadAndFillBothViews) {
    JournalGeneratorOptions options;
    options.entries = 100000;
    const GeneratedJournal generated = GenerateJournal(options);
    const std::string database(generated.databaseImage.Bytes().begin(),
                               generated.databaseImage.Bytes().end());
    WriteFile("journal.htm", generated.journal);
    WriteFile("quests.lbd", database);

    StartDialog();
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(Dialog().journal.size(), generated.expected.size());
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_EQ(Dialog().journal.size(), generated.expected.size());
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(ListCount(), static_cast<int>(generated.expected.size()));
    EXPECT_GT(TreeCount(), static_cast<int>(generated.expected.size() / 2));

    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), database);
}

}  // namespace
