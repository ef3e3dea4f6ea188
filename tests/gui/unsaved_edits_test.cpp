// Edits that aren't saved yet: Esc and the end of the session ask before they go, and
// quests.lbd.unsaved brings them back after a crash.
#include "app/main_dlg.h"
#include "framework/program_path.h"
#include "framework/file_exception.h"
#include "framework/file_faults.h"
#include "questdb/kept_edits.h"
#include "tests/gui/gui_fixture.h"

namespace {

using Lines = std::vector<std::string>;

const char kHeard[] = "Heard of the ferry.";
const char kMet[] = "Met the ferryman.";
const char kPaid[] = "Paid the toll.";

const std::string kSaved = DatabaseImage({{{kHeard, false}}});
// The three edits of MakeThreeEdits.
const std::string kEdited = DatabaseImage({{{kHeard, true}}, {{kMet, false}, {kPaid, false}}});

class UnsavedEdits : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteFile("journal.htm",
                  JournalText({{"Day 1", kHeard}, {"Day 2", kMet}, {"Day 3", kPaid}}));
        WriteFile("quests.lbd", kSaved);
    }

    std::string RestoreQuestion() const { return RestoreKeptEditsQuestion(PathOf("quests.lbd")); }
    std::optional<std::string> Kept() const { return ReadFile("quests.lbd.unsaved"); }
    // The image of the database that the kept file turns kSaved into; "damaged" when it
    // can't.
    std::optional<std::string> KeptDatabase() const {
        const std::optional<std::string> kept = Kept();
        if (!kept) return std::nullopt;
        QuestDatabase database;
        database.ReadImage(reinterpret_cast<const std::uint8_t*>(kSaved.data()), kSaved.size());
        SavedImage saved;
        saved.Take(database);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(kept->data());
        if (saved.Apply(bytes, kept->size(), database) != KeptEditsResult::Applied)
            return "damaged";
        return ImageOf(database);
    }

    void ToggleFinisher(const std::string& label) {
        SelectTreeItem(FindTreeItem(label));
        ASSERT_TRUE(TreeSelection()) << label;
        Click(IDC_TOGGLE_FINISHER);
    }

    // A quest started, an entry added to it, the first quest finished.
    void MakeThreeEdits() {
        SelectListRow(0);
        Click(IDC_START_NEW_QUEST);
        Click(IDC_ADD_TO_QUEST);
        ToggleFinisher(kHeard);
        ASSERT_EQ(KeptDatabase(), kEdited);
    }

    // What the platform sends when the session ends; the dialog's answer.
    LRESULT QueryEndSession(LPARAM flags = ENDSESSION_LOGOFF) {
        LRESULT answer = SendMessageA(Window(), WM_QUERYENDSESSION, 0, flags);
        PumpMessages();
        return answer;
    }
    void EndSession(bool ending) {
        SendMessageA(Window(), WM_ENDSESSION, ending, ENDSESSION_LOGOFF);
        PumpMessages();
    }

    // The process dies: nothing of the close runs, and the platform frees its objects.
    void Crash() { Close(); }
};

TEST_F(UnsavedEdits, EscAsksOnlyWhileTheDatabaseDiffersFromTheSavedOne) {
    StartDialog();
    EXPECT_FALSE(Kept());

    // Changed and changed back: nothing is unsaved, and Esc ends at once.
    ToggleFinisher(kHeard);
    EXPECT_EQ(KeptDatabase(), DatabaseImage({{{kHeard, true}}}));
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    Click(IDC_SHOW_FINISHED);
    ToggleFinisher("FINISHER: " + std::string(kHeard));
    EXPECT_FALSE(Kept());
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_TRUE(Boxes().empty());

    // With unsaved edits Esc is a close request; Enter still does nothing.
    StartDialog();
    MakeThreeEdits();
    PressKeyOn(IDC_JOURNAL_LIST, VK_RETURN);
    EXPECT_FALSE(Ended());
    ExpectBox(kSaveQuestion, IDCANCEL);
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(KeptDatabase(), kEdited);
    ExpectBox(kSaveQuestion, IDNO);
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    EXPECT_EQ(FolderFiles(), (Lines{"journal.htm", "quests.lbd"}));

    // Undone back to what was saved, nothing is unsaved; a redo makes it unsaved again.
    StartDialog();
    MakeThreeEdits();
    const std::size_t boxes = Boxes().size();
    for (int step = 0; step < 3; ++step) PressCtrlKeyOn(IDC_QUEST_TREE, 'Z');
    EXPECT_FALSE(Kept());
    PressCtrlKeyOn(IDC_QUEST_TREE, 'Y');
    EXPECT_TRUE(Kept());
    PressCtrlKeyOn(IDC_QUEST_TREE, 'Z');
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(Boxes().size(), boxes);
    EXPECT_EQ(FolderFiles(), (Lines{"journal.htm", "quests.lbd"}));

    // Yes saves them, through the backup, and the kept file goes.
    StartDialog();
    MakeThreeEdits();
    ExpectBox(kSaveQuestion, IDYES);
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kEdited);
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kSaved);
    EXPECT_EQ(FolderFiles(), (Lines{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
}

TEST_F(UnsavedEdits, EndOfSessionAsksTheSaveQuestionAndWaitsForTheAnswer) {
    // Nothing unsaved: agreed at once, and the run ends with the session.
    StartDialog();
    EXPECT_EQ(QueryEndSession(), TRUE);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Dialog().ShutdownBlockReason(), "");
    EndSession(true);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(FolderFiles(), (Lines{"journal.htm", "quests.lbd"}));

    // Unsaved: the platform is told why, and Esc on the question, or a save that fails,
    // holds the session up.
    StartDialog();
    MakeThreeEdits();
    ExpectBox(kSaveQuestion, IDCANCEL);
    EXPECT_EQ(QueryEndSession(ENDSESSION_CLOSEAPP), FALSE);
    EXPECT_EQ(Dialog().ShutdownBlockReason(), kUnsavedChangesReason);
    SetReadOnly("quests.lbd", true);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(SaveFailedMessage(PathOf("quests.lbd")));
    EXPECT_EQ(QueryEndSession(), FALSE);
    SetReadOnly("quests.lbd", false);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    EXPECT_EQ(KeptDatabase(), kEdited);

    // Yes saves through every check of a close: here a file another program wrote.
    const std::string theirs = DatabaseImage({{{"Written elsewhere.", false}}});
    WriteFile("quests.lbd", theirs);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ReplaceChangedQuestion(PathOf("quests.lbd")), IDNO);
    EXPECT_EQ(QueryEndSession(), FALSE);
    EXPECT_EQ(ReadFile("quests.lbd"), theirs);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ReplaceChangedQuestion(PathOf("quests.lbd")), IDYES);
    EXPECT_EQ(QueryEndSession(), TRUE);
    EXPECT_EQ(Dialog().ShutdownBlockReason(), "");
    EXPECT_EQ(ReadFile("quests.lbd"), kEdited);
    EXPECT_EQ(ReadFile("quests.lbd.bak"), theirs);
    EXPECT_FALSE(Kept());
    // Another program refused, so the session goes on, and so does the window; when it
    // does end, no question comes.
    EndSession(false);
    EXPECT_FALSE(Ended());
    EndSession(true);
    EXPECT_TRUE(Ended());
    const size_t boxes = Boxes().size();

    // No agrees; the edits are discarded only once the session really ends.
    WriteFile("quests.lbd", kSaved);
    StartDialog();
    MakeThreeEdits();
    ExpectBox(kSaveQuestion, IDNO);
    EXPECT_EQ(QueryEndSession(), TRUE);
    EXPECT_EQ(Boxes().size(), boxes + 1);
    EXPECT_EQ(KeptDatabase(), kEdited);
    EndSession(true);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    EXPECT_FALSE(Kept());

    // A session that ends without asking (forced) leaves them kept for the next start.
    StartDialog();
    MakeThreeEdits();
    EndSession(true);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    EXPECT_EQ(KeptDatabase(), kEdited);
}

TEST_F(UnsavedEdits, EditsKeptThroughACrashComeBackOnYesAndGoOnNo) {
    StartDialog();
    MakeThreeEdits();
    const std::string keptBytes = *Kept();
    const Lines tree = TreeLines(), list = ListRows();
    ASSERT_EQ(tree, (Lines{kMet, "  " + std::string(kPaid)}));
    Crash();

    // Asked before the window shows; Yes gives the window as it was, still unsaved.
    ExpectBox(RestoreQuestion(), IDYES);
    StartDialog();
    EXPECT_FALSE(Boxes().back().mainWindowVisible);
    EXPECT_EQ(Boxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(TreeLines(), tree);
    EXPECT_EQ(ListRows(), list);
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    EXPECT_EQ(KeptDatabase(), kEdited);
    ExpectBox(kSaveQuestion, IDYES);
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kEdited);
    EXPECT_FALSE(Kept());

    // Esc on the question keeps them too; No discards them and the file.
    WriteFile("quests.lbd", kSaved);
    WriteFile("quests.lbd.unsaved", keptBytes);
    ExpectBox(RestoreQuestion(), IDCANCEL);
    StartDialog();
    EXPECT_EQ(TreeLines(), tree);
    Crash();
    ExpectBox(RestoreQuestion(), IDNO);
    StartDialog();
    EXPECT_EQ(TreeLines(), (Lines{kHeard}));
    EXPECT_FALSE(Kept());
    PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);

    // Their save ended before it could remove the file: it goes without a word, and the
    // edits of this run are kept again.
    WriteFile("quests.lbd", kEdited);
    WriteFile("quests.lbd.unsaved", keptBytes);
    StartDialog();
    EXPECT_EQ(TreeLines(), tree);
    EXPECT_FALSE(Kept());
    ToggleFinisher(kMet);
    EXPECT_TRUE(Kept());
}

// While the restore question waits, its edits are only in the kept file: the end of
// the session and a close (a task manager's End task) end the run and leave the file.
TEST_F(UnsavedEdits, RestoreQuestionKeepsItsEditsThroughTheSessionsEndAndAClose) {
    StartDialog();
    MakeThreeEdits();
    Crash();
    for (const bool sessionEnds : {true, false}) {
        SCOPED_TRACE(sessionEnds ? "the session ends" : "a close");
        ExpectBox(RestoreQuestion(), IDCANCEL, [&] {
            if (sessionEnds) {
                EXPECT_EQ(QueryEndSession(), TRUE);
                EndSession(true);
            } else {
                SendMessageA(Window(), WM_CLOSE, 0, 0);
            }
            EXPECT_TRUE(Ended());
            EXPECT_EQ(KeptDatabase(), kEdited);
        });
        StartDialog();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(KeptDatabase(), kEdited);
        EXPECT_EQ(ReadFile("quests.lbd"), kSaved);
    }
}

TEST_F(UnsavedEdits, KeptFileThatCantBeReadIsNamedAndLeftAlone) {
    StartDialog();
    MakeThreeEdits();
    const std::string keptBytes = *Kept();
    Crash();

    const std::string cut = keptBytes.substr(0, keptBytes.size() - 2);
    for (const std::string& bytes : {cut, keptBytes + "x", std::string()}) {
        WriteFile("quests.lbd.unsaved", bytes);
        ExpectBox(KeptEditsUnreadableMessage(PathOf("quests.lbd.unsaved"),
                                             bytes.empty() ? kDatabaseEmpty : kKeptEditsDamaged));
        StartDialog();
        EXPECT_EQ(TreeLines(), (Lines{kHeard}));
        // Edits made now don't write over it, and ending doesn't remove it.
        ToggleFinisher(kHeard);
        ExpectBox(kSaveQuestion, IDNO);
        PressKeyOn(IDC_QUEST_TREE, VK_ESCAPE);
        EXPECT_TRUE(Ended());
        EXPECT_EQ(Kept(), bytes);
    }

    // Larger than any edits of this database and journal: damaged, and never read.
    WriteFile("quests.lbd.unsaved", keptBytes + std::string(1 << 20, 'x'));
    InjectFileFault(FileOperation::Read, 0, ".unsaved", ERROR_CRC);
    ExpectBox(KeptEditsUnreadableMessage(PathOf("quests.lbd.unsaved"), kKeptEditsDamaged));
    StartDialog();
    ClearFileFaults();
    EXPECT_EQ(TreeLines(), (Lines{kHeard}));
    Close();

    // Edits of the database that was there before another program replaced it.
    const std::string theirs = DatabaseImage({{{"Written elsewhere.", false}}});
    WriteFile("quests.lbd", theirs);
    WriteFile("quests.lbd.unsaved", keptBytes);
    ExpectBox(KeptEditsUnreadableMessage(PathOf("quests.lbd.unsaved"), kKeptEditsOfOtherDatabase));
    StartDialog();
    Close();
    EXPECT_EQ(Kept(), keptBytes);
    EXPECT_EQ(ReadFile("quests.lbd"), theirs);
    WriteFile("quests.lbd", kSaved);

    // Locked by another program: the platform's reason.
    HANDLE lock = CreateFileA(PathOf("quests.lbd.unsaved").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ExpectBox(KeptEditsUnreadableMessage(PathOf("quests.lbd.unsaved"),
                                         SystemErrorText(ERROR_SHARING_VIOLATION)));
    StartDialog();
    CloseHandle(lock);
    Close();
    EXPECT_EQ(KeptDatabase(), kEdited);
    RemoveFile("quests.lbd.unsaved");

    // A kept file that can't be written is said once, not at every edit.
    StartDialog();
    ToggleFinisher(kHeard);
    const std::string finished = DatabaseImage({{{kHeard, true}}});
    SetReadOnly("quests.lbd.unsaved", true);
    ExpectBoxStartingWith(
        StartBefore(KeptEditsNotWrittenMessage(PathOf("quests.lbd.unsaved"), kAnyText)));
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    Click(IDC_ADD_TO_QUEST);
    EXPECT_EQ(KeptDatabase(), finished);
    SetReadOnly("quests.lbd.unsaved", false);
    Click(IDC_SHOW_FINISHED);
    ToggleFinisher("FINISHER: " + std::string(kHeard));
    EXPECT_EQ(KeptDatabase(), DatabaseImage({{{kHeard, false}}, {{kMet, false}, {kPaid, false}}}));
}

// A second copy started in the folder while the first runs: the first one's file is
// neither offered, written nor removed by it.
TEST_F(UnsavedEdits, SecondCopyInTheSameFolderLeavesTheFirstOnesFileAlone) {
    StartDialog();
    MakeThreeEdits();
    // The same folder through its path, and through the second drive letter that
    // tools/session.sh gives C: (a link in the prefix's dosdevices folder).
    ASSERT_EQ(Folder().substr(0, 2), "C:");
    for (const std::string& folder : {Folder(), "Q:" + Folder().substr(2)}) {
        SCOPED_TRACE(folder);
        SetProgramPathForTesting(folder + "\\lorebinder.exe");
        CMainDlg second;
        ASSERT_TRUE(second.Create());
        EXPECT_EQ(second.database.quests.size(), 1u) << "no restore question";
        second.database.AddQuest("Started in the second copy.", -1, false);
        second.DatabaseChanged();
        EXPECT_EQ(KeptDatabase(), kEdited);
        ExpectBox(kSaveQuestion, IDNO);
        SendMessageA(second.m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_TRUE(second.IsEnded());
        EXPECT_EQ(KeptDatabase(), kEdited);
    }
    SetProgramPathForTesting(PathOf("lorebinder.exe"));
    EXPECT_EQ(ReadFile("quests.lbd"), kSaved);

    // Once the first has gone, the next copy offers them.
    Crash();
    ExpectBox(RestoreQuestion(), IDYES);
    StartDialog();
    EXPECT_EQ(KeptDatabase(), kEdited);
}

}  // namespace
