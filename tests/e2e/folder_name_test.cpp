// The program in a folder whose name the system code page can't spell, as a player's
// game folder may be named: it finds, reads and saves its files there, and a message
// that names a path shows the folder as it is named.
#include <string>

#include "app/app_messages.h"
#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using AnyFolderName = BlackBoxTest;

// Polish and Japanese: of these, code page 1252 has "ó" alone.
const char kFolderName[] = u8"Łódź 日本語";

TEST_F(AnyFolderName, StartsEditsAndSavesInAFolderNamedOutsideTheCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the story is told under the code page of Western Europe";
    MoveIntoSubfolder(kFolderName);
    CopySample({"journal.htm"});

    Program& first = StartProgram();
    MessageBoxWindow missing = first.ExpectMessageBox("report the missing database");
    EXPECT_EQ(missing.Text(), NoDatabaseMessage(folder->PathOf("quests.lbd")));
    missing.Press(IDOK, "acknowledge the missing database");
    MainWindow main = first.ExpectMainWindow("show the journal found in the folder");
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 27/27") << "journal.htm was read";
    main.Close();
    first.ExpectMessageBox("ask whether to save").Press(IDYES, "answer Yes");
    EXPECT_EQ(first.ExpectExit("end after saving"), 0u);
    const std::string empty = *folder->Read("quests.lbd");
    EXPECT_EQ(empty, std::string(4, '\0'));

    Program& second = StartProgram();
    MainWindow again = second.ExpectMainWindow("start again, with the saved database");
    const std::string entry = again.ListRows(IDC_JOURNAL_LIST).at(0);
    again.ClickListRow(IDC_JOURNAL_LIST, 0);
    again.Click(IDC_START_NEW_QUEST);
    ASSERT_EQ(again.Text(IDC_TREE_TEXT), entry) << "the new quest is selected";
    again.Close();
    second.ExpectMessageBox("ask whether to save the new quest").Press(IDYES, "answer Yes");
    EXPECT_EQ(second.ExpectExit("end after saving the new quest"), 0u);
    // One quest of one entry: the counts, then the finisher byte, the text and a zero.
    EXPECT_EQ(folder->Read("quests.lbd"), std::string("\1\0\0\0\1\0\0\0\0", 9) + entry + '\0');
    EXPECT_EQ(folder->Read("quests.lbd.bak"), empty);
    EXPECT_EQ(folder->Files(), (std::vector<std::string>{"journal.htm", "lorebinder.exe",
                                                         "quests.lbd", "quests.lbd.bak"}));
}

}  // namespace
}  // namespace e2e
