// Messages when the program's folder is named outside the system code page: a path
// in a message comes whole, and a text of the files in a message keeps its characters.
#include "app/app_messages.h"
#include "framework/program_path.h"
#include "journal/journal_messages.h"
#include "tests/gui/gui_fixture.h"

namespace {

using FolderName = MainDialogTest;

TEST_F(FolderName, MessagesShowThePathAsNamedAndTheFilesTextsAsTheyAre) {
    ASSERT_EQ(GetACP(), 1252u) << "told under the code page of Western Europe";
    ScratchFolder game = ScratchFolder::At(PathOf(u8"Łódź 日本語"));
    SetProgramPathForTesting(game.PathOf("lorebinder.exe"));
    // The journal's texts are 1252 bytes: "é", "ï", and, in the search, "DÉJÀ".
    game.Write("journal.htm", JournalText({{"Day 1", "Caf\xE9 au lait."}}) + "Stray l\xEFne\r\n");

    ExpectBox(NoDatabaseMessage(game.PathOf("quests.lbd")));
    ExpectBox(std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) +
              u8"Stray lïne");
    StartDialog();
    ASSERT_EQ(ListRows(), (std::vector<std::string>{"Caf\xE9 au lait."}));

    SetDlgItemTextA(Window(), IDC_SEARCH_BOX, "D\xC9J\xC0");
    ExpectBox(u8"\"déjà\" Not found.");
    Click(IDC_FIND_NEXT);

    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(game.Read("quests.lbd"), EmptyDatabaseImage());
}

}  // namespace
