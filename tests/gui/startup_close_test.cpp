// The program's life as the user meets it: the start-up messages, the save question,
// and what closing does to quests.lbd.
#include "framework/file_exception.h"
#include "framework/file_faults.h"
#include "framework/program_path.h"
#include "tests/gui/gui_fixture.h"

namespace {

class StartupAndClose : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        // An empty journal keeps the journal reader quiet.
        WriteFile("journal.htm", "");
    }

    std::string NoDatabaseMessage() const { return ::NoDatabaseMessage(PathOf("quests.lbd")); }
    std::string OpenFailedMessage() const { return SaveFailedMessage(PathOf("quests.lbd")); }
    // The second question before replacing a file that wasn't read whole; its reason is
    // the start-up message's.
    std::string PartlyReadQuestionStart() const {
        return StartBefore(ReplacePartlyReadQuestion(PathOf("quests.lbd"), kAnyText));
    }
    std::string ChangedQuestion() const { return ReplaceChangedQuestion(PathOf("quests.lbd")); }

    // No to the save question: the only answer that closes without saving.
    void CloseWithoutSaving() {
        ExpectBox(kSaveQuestion, IDNO);
        RequestClose();
        EXPECT_TRUE(Ended());
    }
};

const std::vector<TestQuest> kQuestList = {
    {{"The ferryman wants three silver bells.", false}, {"I gave the ferryman his bells.", true}},
    {{"A stranger asked about the lighthouse.", false}}};
const std::string kQuests = DatabaseImage(kQuestList);

// The database another program writes while Lorebinder runs: as long as kQuests.
const std::string kOtherProgramsQuests = DatabaseImage(
    {{{"The ferryman wants three golden bells.", false}, {"I gave the ferryman his bells.", true}},
     {{"A stranger asked about the lighthouse.", false}}});

TEST_F(StartupAndClose, WithoutDatabaseWarnsOnceBeforeShowingAndYesCreatesEmptyOne) {
    ExpectBox(NoDatabaseMessage());
    StartDialog();

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(Boxes()[0].mainWindowVisible) << "the message must come before the window";
    EXPECT_EQ(Boxes()[0].caption, "lorebinder");
    EXPECT_EQ(Boxes()[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_FALSE(Ended());

    // The initial state of the filters, the focus and the list.
    EXPECT_TRUE(IsChecked(IDC_SHOW_UNKNOWN));
    EXPECT_TRUE(IsChecked(IDC_SHOW_UNFINISHED));
    EXPECT_FALSE(IsChecked(IDC_SHOW_COLLATED));
    EXPECT_FALSE(IsChecked(IDC_SHOW_FINISHED));
    EXPECT_EQ(GetFocus(), Control(IDC_QUEST_TREE));
    EXPECT_EQ(ListSelection(), LB_ERR);
    EXPECT_EQ(Dialog().databasePath, PathOf("quests.lbd"));
    EXPECT_EQ(Dialog().journalPath, PathOf("journal.htm"));

    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_EQ(Boxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_TRUE(Ended());
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_EQ(ReadFile("quests.lbd"), EmptyDatabaseImage());
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
}

TEST_F(StartupAndClose, NoKeepsTheFileAndYesRewritesTheSameBytes) {
    // Bytes that a rewrite would change (a finisher byte of 1, trailing bytes): No
    // must not touch them.
    std::string unusual = kQuests;
    const std::string firstText = "The ferryman wants three silver bells.";
    unusual[4 + 4 + 1 + firstText.size() + 1] = '\x01';  // the second item's finisher byte
    unusual += "trailing";
    WriteFile("quests.lbd", unusual);
    MakeOld("quests.lbd");
    StartDialog();
    ExpectBox(kSaveQuestion, IDNO);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), unusual);
    EXPECT_TRUE(IsOld("quests.lbd"));

    // Yes with nothing changed still writes the file, byte for byte as it was.
    WriteFile("quests.lbd", kQuests);
    MakeOld("quests.lbd");
    StartDialog();
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_FALSE(IsOld("quests.lbd")) << "Yes must rewrite the file";
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kQuests);
    EXPECT_EQ(FolderFiles(),
              (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
}

TEST_F(StartupAndClose, EscEndsWithoutQuestionAndEnterNeverCloses) {
    WriteFile("quests.lbd", kQuests);
    StartDialog();

    // Every control that can hold the focus, except the push buttons, for which
    // Enter is a click of that button.
    for (int id : {IDC_QUEST_TREE, IDC_JOURNAL_LIST, IDC_TREE_TEXT, IDC_LIST_TEXT, IDC_LIST_HEADING,
                   IDC_TREE_HEADING, IDC_SHOW_UNKNOWN, IDC_SHOW_COLLATED, IDC_FONT_SLIDER,
                   IDC_SHOW_FINISHED, IDC_SHOW_UNFINISHED, IDC_SEARCH_BOX}) {
        Focus(id);
        ASSERT_EQ(GetFocus(), Control(id)) << "control " << id;
        PressKey(VK_RETURN);
        EXPECT_FALSE(Ended()) << "Enter closed the window from control " << id;
    }
    EXPECT_TRUE(Boxes().empty());

    Focus(IDC_QUEST_TREE);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(Result(), IDCANCEL);
    EXPECT_TRUE(Boxes().empty()) << "Esc must not ask the save question";
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
}

TEST_F(StartupAndClose, AnswerOtherThanYesOrNoKeepsTheWindowOpen) {
    ExpectBox(NoDatabaseMessage());
    StartDialog();
    ExpectBox(kSaveQuestion, IDCANCEL);
    RequestClose();
    EXPECT_FALSE(Ended());
    EXPECT_FALSE(ReadFile("quests.lbd"));

    // Alt+F4 is a close request too. (Not from the tree: Wine's tree view keeps
    // Alt+F4 to itself, where Windows passes it on.)
    ExpectBox(kSaveQuestion, IDCANCEL);
    Focus(IDC_SEARCH_BOX);
    PressAltKey(VK_F4);
    EXPECT_FALSE(Ended());

    // Close on the system menu is a close request too.
    ExpectBox(kSaveQuestion, IDNO);
    SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(ReadFile("quests.lbd"));
}

TEST_F(StartupAndClose, ReadOnlyDatabaseAtCloseKeepsWindowOpenUntilItCanBeSaved) {
    WriteFile("quests.lbd", kQuests);
    StartDialog();
    SetReadOnly("quests.lbd", true);
    MakeOld("quests.lbd");

    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(OpenFailedMessage());
    RequestClose();
    EXPECT_FALSE(Ended()) << "a failed save must not throw the user's work away";
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_TRUE(IsOld("quests.lbd"));
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));

    SetReadOnly("quests.lbd", false);
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_FALSE(IsOld("quests.lbd"));
}

TEST_F(StartupAndClose, DatabaseLockedByAnotherProgramAtCloseIsLeftAlone) {
    WriteFile("quests.lbd", kQuests);
    StartDialog();
    HANDLE lock = CreateFileA(PathOf("quests.lbd").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(OpenFailedMessage());
    RequestClose();
    CloseHandle(lock);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
}

// A quests.lbd that exists but couldn't be read at start-up is not "missing": the
// message says why, and saving over it takes a second yes.
TEST_F(StartupAndClose, LockedDatabaseAtStartupGivesReasonAndAsksBeforeReplacing) {
    WriteFile("quests.lbd", kQuests);
    HANDLE lock = CreateFileA(PathOf("quests.lbd").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ExpectBox(
        DatabaseOpenFailedMessage(PathOf("quests.lbd"), SystemErrorText(ERROR_SHARING_VIOLATION)));
    StartDialog();
    CloseHandle(lock);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find(SystemErrorText(ERROR_SHARING_VIOLATION)), std::string::npos)
        << Boxes()[0].text;
    EXPECT_TRUE(Dialog().database.quests.empty());

    // Yes, then No or Esc to replacing: nothing written, and the window stays with the
    // quests started meanwhile.
    Dialog().database.AddQuest("Started while the file was locked.", -1, false);
    const std::string started = DatabaseImage({{{"Started while the file was locked.", false}}});
    MakeOld("quests.lbd");
    for (int answer : {IDNO, IDCANCEL}) {
        SCOPED_TRACE(answer);
        ExpectBox(kSaveQuestion, IDYES);
        ExpectBoxStartingWith(PartlyReadQuestionStart(), answer);
        RequestClose();
        EXPECT_EQ(Boxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_FALSE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
        EXPECT_TRUE(IsOld("quests.lbd"));
        EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
    }

    // Yes twice replaces it, and keeps it as the backup.
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), started);
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kQuests);
}

TEST_F(StartupAndClose, DamagedOrUnreadableDatabaseSaysWhatWasReadAndAsksBeforeReplacing) {
    // The first quest is whole; the second one's text has no terminator.
    std::string damaged = DatabaseImage({{{"Whole entry.", false}}, {{"Cut off", false}}});
    damaged.resize(damaged.size() - 1);
    WriteFile("quests.lbd", damaged);
    // What it read: the header and the whole first quest.
    const std::size_t read = DatabaseImage({{{"Whole entry.", false}}}).size();
    ExpectBox(DatabaseDamagedMessage(PathOf("quests.lbd"), read, damaged.size(), 1, 1));
    StartDialog();
    ASSERT_EQ(Boxes().size(), 1u);
    ASSERT_EQ(Dialog().database.quests.size(), 1u);
    EXPECT_EQ(Dialog().database.quests[0].items[0].text, "Whole entry.");

    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDNO);
    RequestClose();
    EXPECT_FALSE(Ended());
    CloseWithoutSaving();
    EXPECT_EQ(ReadFile("quests.lbd"), damaged);

    // A read that fails after the file opened: reported with the file's path, the
    // program goes on with an empty database, and replacing asks first.
    WriteFile("quests.lbd", kQuests);
    InjectFileFault(FileOperation::Read, 1, "quests.lbd", ERROR_CRC);
    ExpectBox(DatabaseReadFailedMessage(PathOf("quests.lbd"), SystemErrorText(ERROR_CRC)));
    StartDialog();
    EXPECT_NE(Boxes().back().text.find(SystemErrorText(ERROR_CRC)), std::string::npos);
    EXPECT_TRUE(Dialog().database.quests.empty());
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDNO);
    RequestClose();
    EXPECT_FALSE(Ended());
    CloseWithoutSaving();
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);

    // A file far too large to be a database is not read at all.
    MakeHuge("quests.lbd");
    ExpectBox(DatabaseTooLargeMessage(PathOf("quests.lbd")));
    StartDialog();
    EXPECT_TRUE(Dialog().database.quests.empty());
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDNO);
    RequestClose();
    EXPECT_FALSE(Ended());
    CloseWithoutSaving();
}

// Another program (a shared file downloaded into the folder, a second copy of
// Lorebinder) writes quests.lbd while the window is open: saving over it takes a
// second yes, and the backup then keeps it.
TEST_F(StartupAndClose, FileChangedByAnotherProgramIsReplacedOnlyOnASecondYes) {
    WriteFile("quests.lbd", kQuests);
    MakeOld("quests.lbd");
    StartDialog();
    Dialog().database.AddQuest("Started in the window.", -1, false);
    std::vector<TestQuest> inWindow = kQuestList;
    inWindow.push_back({{"Started in the window.", false}});

    // Same length and the same write time: only the bytes tell.
    ASSERT_EQ(kOtherProgramsQuests.size(), kQuests.size());
    WriteFile("quests.lbd", kOtherProgramsQuests);
    MakeOld("quests.lbd");

    for (int answer : {IDNO, IDCANCEL}) {
        SCOPED_TRACE(answer);
        ExpectBox(kSaveQuestion, IDYES);
        ExpectBox(ChangedQuestion(), answer);
        RequestClose();
        EXPECT_EQ(Boxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_FALSE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), kOtherProgramsQuests);
        EXPECT_TRUE(IsOld("quests.lbd"));
        EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
    }

    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ChangedQuestion(), IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(inWindow));
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kOtherProgramsQuests);
}

TEST_F(StartupAndClose, FileThatAppearedOrWentSinceStartUpIsHandledAsItIsNow) {
    // None at start-up, one at close: it is someone's database, so it counts as changed.
    ExpectBox(NoDatabaseMessage());
    StartDialog();
    Dialog().database.AddQuest("Started in an empty folder.", -1, false);
    const std::string started = DatabaseImage({{{"Started in an empty folder.", false}}});
    WriteFile("quests.lbd", kOtherProgramsQuests);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ChangedQuestion(), IDNO);
    RequestClose();
    EXPECT_FALSE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kOtherProgramsQuests);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ChangedQuestion(), IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), started);
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kOtherProgramsQuests);

    // Removed since start-up: nothing to lose, so written anew without a second
    // question, and with no backup, as there was nothing to keep.
    RemoveFile("quests.lbd.bak");
    WriteFile("quests.lbd", kQuests);
    StartDialog();
    RemoveFile("quests.lbd");
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));

    // Damaged at start-up and then replaced by another program, with a longer file:
    // one question, about what is there now.
    std::string damaged = kQuests.substr(0, kQuests.size() - 3);
    WriteFile("quests.lbd", damaged);
    ExpectBox(DatabaseDamagedMessage(PathOf("quests.lbd"), DatabaseImage({kQuestList[0]}).size(),
                                     damaged.size(), 1, 2));
    StartDialog();
    const std::string longer = kOtherProgramsQuests + "and more";
    WriteFile("quests.lbd", longer);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(ChangedQuestion(), IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd.bak"), longer);
}

// One generation of backup: each save keeps the file it replaces, and the backup before
// it goes. A first save has nothing to keep.
TEST_F(StartupAndClose, EachSaveKeepsTheFileItReplacesAsTheBackup) {
    std::vector<TestQuest> quests;
    std::string previous;
    for (const char* text : {"First quest.", "Second quest.", "Third quest."}) {
        SCOPED_TRACE(text);
        if (quests.empty()) ExpectBox(NoDatabaseMessage());
        StartDialog();
        Dialog().database.AddQuest(text, -1, false);
        quests.push_back({{text, false}});
        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(quests));
        if (previous.empty()) {
            EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm", "quests.lbd"}));
        } else {
            EXPECT_EQ(ReadFile("quests.lbd.bak"), previous);
            EXPECT_EQ(FolderFiles(),
                      (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));
        }
        previous = DatabaseImage(quests);
    }
}

TEST_F(StartupAndClose, ProgramPathWithoutDirectoryEndsBeforeTheWindowShows) {
    SetProgramPathForTesting("lorebinder.exe");
    ExpectBox(kNoProgramDirectory);
    StartDialog();
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm"}));

    SetProgramPathForTesting(std::nullopt);
    ExpectBox(kNoProgramDirectory);
    StartDialog();
    EXPECT_TRUE(Ended());
}

}  // namespace

namespace {

// A save cut off between its two moves leaves no quests.lbd, but quests.lbd.bak (the
// database before) and quests.lbd.tmp (the one being saved). Start-up names them and
// offers the newest complete one; declined, no save writes over it.
TEST_F(StartupAndClose, CopiesLeftByACutOffSaveAreNamedAndTheNewestOffered) {
    const std::string older = DatabaseImage({{{"A backup from an earlier save.", false}}});
    const std::string lbd = PathOf("quests.lbd"), tmp = PathOf("quests.lbd.tmp"),
                      bak = PathOf("quests.lbd.bak");
    auto leaveCopies = [&](const std::string& temporary) {
        RemoveFile("quests.lbd");
        WriteFile("quests.lbd.bak", older);
        MakeOld("quests.lbd.bak");
        WriteFile("quests.lbd.tmp", temporary);
    };
    const std::vector<std::string> both = {tmp, bak};

    // Yes: the new image moves into place, and the backup stays.
    leaveCopies(kQuests);
    ExpectBox(RestoreLeftCopyQuestion(lbd, both, tmp), IDYES);
    StartDialog();
    EXPECT_EQ(ImageOf(Dialog().database), kQuests);
    CloseWithoutSaving();
    EXPECT_EQ(ReadFile("quests.lbd"), kQuests);
    EXPECT_EQ(ReadFile("quests.lbd.bak"), older);
    EXPECT_EQ(FolderFiles(),
              (std::vector<std::string>{"journal.htm", "quests.lbd", "quests.lbd.bak"}));

    // No: an empty database, and the save keeps the newest copy as the backup.
    leaveCopies(kQuests);
    ExpectBox(RestoreLeftCopyQuestion(lbd, both, tmp), IDNO);
    StartDialog();
    EXPECT_TRUE(Dialog().database.quests.empty());
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), EmptyDatabaseImage());
    EXPECT_EQ(ReadFile("quests.lbd.bak"), kQuests);

    // A new image cut short: the backup is the newest complete copy, copied into place.
    leaveCopies(kQuests.substr(0, 20));
    ExpectBox(RestoreLeftCopyQuestion(lbd, both, bak), IDYES);
    StartDialog();
    EXPECT_EQ(ImageOf(Dialog().database), older);
    CloseWithoutSaving();
    EXPECT_EQ(ReadFile("quests.lbd.bak"), older);

    // None complete: named, and the start is empty.
    RemoveFile("quests.lbd");
    RemoveFile("quests.lbd.bak");
    ExpectBox(LeftCopiesIncompleteMessage(lbd, {tmp}));
    StartDialog();
    EXPECT_TRUE(Dialog().database.quests.empty());
    CloseWithoutSaving();
    EXPECT_EQ(ReadFile("quests.lbd.tmp"), kQuests.substr(0, 20));
}

}  // namespace
