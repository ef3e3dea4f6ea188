// MainDialogTest: runs the real CMainDlg, on the real dialog template with the real
// common controls, in a scratch folder of its own. A test writes the folder's
// journal.htm and quests.lbd, scripts the message boxes it expects with their
// answers, starts the dialog, drives it with the messages the platform would send,
// and reads back the controls and the files.
//
//     WriteFile("quests.lbd", DatabaseImage({{{"Find the key", false}}}));
//     StartDialog();
//     ExpectBox(kSaveQuestion, IDYES);
//     RequestClose();
//     EXPECT_TRUE(Ended());
//
// Every message box goes through the framework's hook: one that no ExpectBox
// announced fails the test (and is answered with OK, or Cancel for a question), and
// an announced box that never came fails it at the end.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The program's texts, which the tests expect from its own headers.
#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "editing/editing_messages.h"
#include "framework/message_box.h"
#include "journal/journal_messages.h"
#include "views/view_messages.h"
#include "res/resource.h"
#include "tests/support/test_files.h"
#include "tests/support/win/dialog_driver.h"
#include "tests/support/win/scratch_folder.h"

// A message box as the program showed it.
struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
    bool mainWindowVisible = false;  // whether the main window was on screen then
    HCURSOR cursor = nullptr;        // the cursor while it was asked
};

// Stands for a part of a message that a test leaves open (a reason, the platform's
// wording); StartBefore cuts the message there, for ExpectBoxStartingWith.
inline constexpr char kAnyText[] = "\x1F(any text)\x1F";
inline std::string StartBefore(const std::string& message) {
    return message.substr(0, message.find(kAnyText));
}

// The dialog's input and what its controls show come from DialogDriver.
class MainDialogTest : public ::testing::Test, protected DialogDriver {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scratch folder, which the program takes for its own directory.
    const std::string& Folder() const { return folder->Path(); }
    std::string PathOf(const std::string& name) const { return folder->PathOf(name); }
    void WriteFile(const std::string& name, const std::string& bytes) {
        folder->Write(name, bytes);
    }
    void RemoveFile(const std::string& name) { folder->Delete(name); }
    // The file's bytes; nullopt when it doesn't exist.
    std::optional<std::string> ReadFile(const std::string& name) const {
        return folder->Read(name);
    }
    // The names of the files in the folder, sorted.
    std::vector<std::string> FolderFiles() const { return folder->Files(); }
    void SetReadOnly(const std::string& name, bool readOnly) {
        folder->SetReadOnly(name, readOnly);
    }
    // A file far too large to be a database, which takes no disk.
    void MakeHuge(const std::string& name) { folder->Extend(name, 3ull << 30); }
    // Sets the file's last-write time to long ago, so that a rewrite shows.
    void MakeOld(const std::string& name) { folder->SetWriteTime(name, kLongAgo); }
    bool IsOld(const std::string& name) const { return folder->WriteTime(name) == kLongAgo; }

    // Announces the next message box: its whole text (ExpectBox) or how it begins
    // (ExpectBoxStartingWith), and the button that answers it.
    void ExpectBox(std::string text, int answer = IDOK);
    // The same, with what happens while the box is open, before it is answered.
    void ExpectBox(std::string text, int answer, std::function<void()> whileOpen);
    void ExpectBoxStartingWith(std::string prefix, int answer = IDOK);
    // Every box shown so far, in order.
    const std::vector<ShownBox>& Boxes() const { return shown; }

    // Makes the main dialog and runs its start-up, as the program does, then shows it.
    // May be called again once the previous dialog has ended.
    void StartDialog() { ASSERT_TRUE(Start()) << "the main dialog couldn't be created"; }
    // Writes the folder's two files, then starts the dialog on them.
    void StartDialogWith(const std::string& journal, const std::string& database);

    // Runs `open`, which should open a modal dialog over the main window, and calls
    // `act` with that dialog's window once its loop runs; `act` should close it. A
    // dialog still open a second later is cancelled and fails the test. Returns
    // whether a dialog came.
    bool WithModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& act);

private:
    static constexpr std::uint64_t kLongAgo = 0x01A00000ull << 32;  // early 1985

    struct ExpectedBox {
        std::string text;
        bool prefixOnly;
        int answer;
        std::function<void()> whileOpen;
    };
    int AnswerBox(const MessageBoxRequest& request);

    std::optional<ScratchFolder> folder;
    std::deque<ExpectedBox> expected;
    std::vector<ShownBox> shown;
};
