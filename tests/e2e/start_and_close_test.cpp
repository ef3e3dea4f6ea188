// Starting the program in a folder and closing it again, the ways a player
// does: the database it finds or misses, and what each way of closing does to
// quests.lbd.
#include <cstdint>
#include <string>

#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using StartAndClose = BlackBoxTest;

const std::string kSaveQuestion = "Save the current quest database?";
const std::string kEmptyDatabase(4, '\0');
// Long before any test runs: a file still carrying this time was not rewritten.
constexpr std::uint64_t kLongAgo = 126227808000000000;  // 1 January 2001

TEST_F(StartAndClose, WithoutADatabaseItSaysSoAndYesOnCloseCreatesAnEmptyOne) {
    CopySample({"journal.htm"});
    Program& app = StartProgram();

    MessageBoxWindow missing = app.ExpectMessageBox("report the missing database");
    EXPECT_EQ(missing.Caption(), "lorebinder");
    EXPECT_EQ(missing.Text(), "No quest database (" + folder->PathOf("quests.lbd") +
                                  ") found.\nYou'll have to build one from your journal "
                                  "entries, or get a quests.lbd from somewhere else.");
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

}  // namespace
}  // namespace e2e
