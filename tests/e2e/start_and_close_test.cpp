// Starting the program in a folder and closing it again, the ways a player
// does: the database it finds or misses, and what each way of closing does to
// quests.lbd.
#include <cstdint>
#include <string>

#include "app/app_messages.h"
#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using StartAndClose = BlackBoxTest;

const std::string kEmptyDatabase(4, '\0');
// Long before any test runs: a file still carrying this time was not rewritten.
constexpr std::uint64_t kLongAgo = 126227808000000000;  // 1 January 2001

TEST_F(StartAndClose, WithoutADatabaseItSaysSoAndYesOnCloseCreatesAnEmptyOne) {
    CopySample({"journal.htm"});
    Program& app = StartProgram();

    MessageBoxWindow missing = app.ExpectMessageBox("report the missing database");
    EXPECT_EQ(missing.Caption(), "lorebinder");
    EXPECT_EQ(missing.Text(), NoDatabaseMessage(folder->PathOf("quests.lbd")));
    EXPECT_TRUE(missing.HasButton(IDOK));
    EXPECT_FALSE(app.FindMainWindow()) << "the message comes before the window";
    missing.Press(IDOK, "acknowledge the missing database");

    MainWindow main = app.ExpectMainWindow("show the main window");
    EXPECT_EQ(main.Caption(), "Lorebinder");
    EXPECT_FALSE(folder->Read("quests.lbd")) << "nothing is written before the player agrees";

    main.Close();
    MessageBoxWindow question = app.ExpectMessageBox("ask whether to save");
    EXPECT_EQ(question.Caption(), "lorebinder");
    EXPECT_EQ(question.Text(), kSaveQuestion);
    EXPECT_TRUE(question.HasButton(IDYES));
    EXPECT_TRUE(question.HasButton(IDNO));
    question.Press(IDYES, "answer Yes");

    EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), kEmptyDatabase);
}

TEST_F(StartAndClose, NoOnCloseLeavesTheDatabaseUntouched) {
    CopySample({"journal.htm", "quests.lbd"});
    std::string before = *folder->Read("quests.lbd");
    folder->SetWriteTime("quests.lbd", kLongAgo);
    Program& app = StartProgram();

    MainWindow main = app.ExpectMainWindow("show the sample without a message");
    main.Close();
    MessageBoxWindow question = app.ExpectMessageBox("ask whether to save");
    EXPECT_EQ(question.Text(), kSaveQuestion);
    question.Press(IDNO, "answer No");

    EXPECT_EQ(app.ExpectExit("end without saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), before);
    EXPECT_EQ(folder->WriteTime("quests.lbd"), kLongAgo) << "No must not even rewrite the file";
}

TEST_F(StartAndClose, AltF4AsksAndYesRewritesTheSameBytes) {
    // Saving a database that was loaded and not changed reproduces it exactly,
    // yet Yes still writes the file.
    CopySample({"journal.htm", "quests.lbd"});
    std::string before = *folder->Read("quests.lbd");
    folder->SetWriteTime("quests.lbd", kLongAgo);
    Program& app = StartProgram();

    MainWindow main = app.ExpectMainWindow("show the sample");
    // Tab first: Wine's tree view, which has the focus at start-up, keeps
    // Alt+F4 to itself where Windows passes it on. Tab goes to the journal list.
    main.PressKey(VK_TAB);
    EXPECT_EQ(main.FocusedControlId(), IDC_JOURNAL_LIST);
    main.PressAltF4();
    MessageBoxWindow question = app.ExpectMessageBox("ask whether to save on Alt+F4");
    EXPECT_EQ(question.Text(), kSaveQuestion);
    question.Press(IDYES, "answer Yes");

    EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), before);
    EXPECT_NE(folder->WriteTime("quests.lbd"), kLongAgo) << "Yes rewrites the file";
}

TEST_F(StartAndClose, EnterKeepsTheWindowOpenAndEscEndsWithoutTheQuestion) {
    CopySample({"journal.htm", "quests.lbd"});
    std::string before = *folder->Read("quests.lbd");
    folder->SetWriteTime("quests.lbd", kLongAgo);
    Program& app = StartProgram();

    MainWindow main = app.ExpectMainWindow("show the sample");
    main.PressKey(VK_RETURN);
    EXPECT_TRUE(main.IsStillOpen()) << "Enter must not close the window";
    EXPECT_FALSE(app.FindMessageBox()) << "Enter must not ask anything";

    main.PressKey(VK_ESCAPE);
    EXPECT_EQ(app.ExpectExit("end on Esc, without the question"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), before);
    EXPECT_EQ(folder->WriteTime("quests.lbd"), kLongAgo);
}

// While the program runs, the player downloads a shared quests.lbd into the game
// folder: here the sample's, copied over the player's with its own write time. Closing
// asks before replacing it, No keeps the window and the download, and the save that
// follows keeps the download as quests.lbd.bak.
TEST_F(StartAndClose, AFileAnotherProgramWroteIsReplacedOnlyOnASecondYesAndKeptAsTheBackup) {
    CopySample({"journal.htm"});
    folder->Write("quests.lbd", kEmptyDatabase);
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the journal with an empty database");
    const std::string entry = main.ListRows(IDC_JOURNAL_LIST).at(0);
    main.ClickListRow(IDC_JOURNAL_LIST, 0);
    main.Click(IDC_START_NEW_QUEST);
    ASSERT_EQ(main.Text(IDC_TREE_TEXT), entry) << "the new quest is selected";

    CopySample({"quests.lbd"});
    const std::string downloaded = *folder->Read("quests.lbd");
    const std::string changedQuestion = ReplaceChangedQuestion(folder->PathOf("quests.lbd"));

    main.Close();
    app.ExpectMessageBox("ask whether to save").Press(IDYES, "answer Yes");
    MessageBoxWindow changed = app.ExpectMessageBox("ask before replacing the downloaded file");
    EXPECT_EQ(changed.Text(), changedQuestion);
    EXPECT_TRUE(changed.HasButton(IDYES));
    EXPECT_TRUE(changed.HasButton(IDNO));
    changed.Press(IDNO, "answer No to replacing");
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), entry) << "the window stays, with the new quest";
    EXPECT_FALSE(app.HasEnded());
    app.Snapshot("still open after No", main.Handle());
    EXPECT_EQ(folder->Read("quests.lbd"), downloaded);
    EXPECT_FALSE(folder->Read("quests.lbd.bak"));

    main.Close();
    app.ExpectMessageBox("ask again whether to save").Press(IDYES, "answer Yes");
    MessageBoxWindow again = app.ExpectMessageBox("ask again before replacing");
    EXPECT_EQ(again.Text(), changedQuestion);
    again.Press(IDYES, "answer Yes to replacing");
    EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
    // One quest of one entry: the counts, then the finisher byte, the text and a zero.
    EXPECT_EQ(folder->Read("quests.lbd"), std::string("\1\0\0\0\1\0\0\0\0", 9) + entry + '\0');
    EXPECT_EQ(folder->Read("quests.lbd.bak"), downloaded);
}

}  // namespace
}  // namespace e2e
