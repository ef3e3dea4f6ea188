// A player's unsaved edits meet the end of the session and a killed process: the real
// program under Wine asks before the session ends, and brings the edits back after
// it was killed.
#include <string>
#include <vector>

#include "app/app_messages.h"
#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

const char kHeard[] = "Heard of the ferry.";
const char kMet[] = "Met the ferryman.";
const char kPaid[] = "Paid the toll.";

std::string Count(std::size_t n) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((n >> shift) & 0xFF);
    return bytes;
}

std::string Item(bool finisher, const std::string& text) {
    return (finisher ? "\xFF" : std::string(1, '\0')) + text + std::string(1, '\0');
}

// quests.lbd before the story, and after its three edits.
const std::string kSaved = Count(1) + Count(1) + Item(false, kHeard);
const std::string kEdited =
    Count(2) + Count(1) + Item(true, kHeard) + Count(2) + Item(false, kMet) + Item(false, kPaid);

std::string Journal() {
    std::string journal;
    int day = 0;
    for (const char* text : {kHeard, kMet, kPaid})
        journal += "<FONT COLOR=\"9F0000\">Day " + std::to_string(++day) + "</FONT><BR>\r\n" +
                   text + "<P>\r\n";
    return journal;
}

Lines TreeLines(const MainWindow& main) {
    Lines lines;
    for (const TreeNode& top : main.Tree(IDC_QUEST_TREE)) {
        lines.push_back(top.label);
        for (const TreeNode& child : top.children) lines.push_back("  " + child.label);
    }
    return lines;
}

class UnsavedEditsStory : public BlackBoxTest {
protected:
    // The program started on the story's files, and three edits made: a quest started,
    // an entry added to it, the first quest finished.
    Program& StartAndMakeThreeEdits() {
        folder->Write("journal.htm", Journal());
        folder->Write("quests.lbd", kSaved);
        Program& app = StartProgram();
        MainWindow main = app.ExpectMainWindow("show the journal");
        main.ClickListRow(IDC_JOURNAL_LIST, 0);
        main.Click(IDC_START_NEW_QUEST);
        main.Click(IDC_ADD_TO_QUEST);
        main.SelectTreeItem(IDC_QUEST_TREE, kHeard);
        main.Click(IDC_TOGGLE_FINISHER);
        EXPECT_EQ(TreeLines(main), (Lines{kMet, std::string("  ") + kPaid}));
        return app;
    }
};

// Wine's own tool for the end of a session, as a logoff or shutdown sends it.
class EndSession {
public:
    EndSession() {
        std::string command = "wineboot.exe --end-session --shutdown";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            CloseHandle(info.hThread);
            process = info.hProcess;
        }
    }
    // A wineboot still waiting (on a window that never answered) would hold the test's
    // output pipe open, and CTest would wait for it long after the test has failed.
    ~EndSession() {
        if (!process) return;
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
        CloseHandle(process);
    }
    bool Started() const { return process != nullptr; }
    // Its exit code once it has ended; STILL_ACTIVE if it hasn't within the time.
    DWORD ExitCode(DWORD timeoutMs) const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process, &code);
        return code;
    }

private:
    HANDLE process = nullptr;
};

TEST_F(UnsavedEditsStory, ShutdownAsksTheSaveQuestionAndYesSavesBeforeTheEnd) {
    Program& app = StartAndMakeThreeEdits();
    EndSession shutdown;
    ASSERT_TRUE(shutdown.Started());
    MessageBoxWindow question = app.ExpectMessageBox("the end of the session asks first");
    EXPECT_EQ(question.Text(), kSaveQuestion);
    EXPECT_TRUE(app.FindMainWindow()) << "the window stays while the question is open";
    question.Press(IDYES, "save");
    EXPECT_EQ(app.ExpectExit("end with the session"), 0u);
    EXPECT_EQ(shutdown.ExitCode(kStepTimeoutMs), 0u) << "wineboot";
    EXPECT_EQ(folder->Read("quests.lbd"), kEdited);
    EXPECT_EQ(folder->Read("quests.lbd.bak"), kSaved);
    EXPECT_FALSE(folder->Read("quests.lbd.unsaved"));
}

TEST_F(UnsavedEditsStory, EditsOfAKilledProgramComeBackAtTheNextStart) {
    Program& app = StartAndMakeThreeEdits();
    TerminateProcess(app.Process(), 1);
    app.ExpectExit("killed");
    EXPECT_EQ(folder->Read("quests.lbd"), kSaved);
    EXPECT_TRUE(folder->Read("quests.lbd.unsaved"));

    Program& again = StartProgram();
    MessageBoxWindow restore = again.ExpectMessageBox("offer the kept edits");
    EXPECT_EQ(restore.Text(), RestoreKeptEditsQuestion(folder->PathOf("quests.lbd")));
    EXPECT_TRUE(restore.HasButton(IDNO));
    restore.Press(IDYES, "restore them");
    MainWindow restored = again.ExpectMainWindow("show the restored quests");
    EXPECT_EQ(TreeLines(restored), (Lines{kMet, std::string("  ") + kPaid}));
    restored.Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeLines(restored),
              (Lines{std::string("FINISHER: ") + kHeard, kMet, std::string("  ") + kPaid}));
    again.Snapshot("the three edits are back", restored.Handle());

    restored.Close();
    again.ExpectMessageBox("ask whether to save").Press(IDYES, "save");
    EXPECT_EQ(again.ExpectExit("end after saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), kEdited);
    EXPECT_FALSE(folder->Read("quests.lbd.unsaved"));
}

}  // namespace
}  // namespace e2e
