// MainDialogTest: runs the real CMainDlg, on the real dialog template with the real
// common controls, in a scratch folder of its own. A test writes the folder's
// journal.htm and quests.lbd, scripts the message boxes it expects with their
// answers, starts the dialog, drives it with the messages the platform would send,
// and reads back the controls and the files.
//
//     WriteFile("quests.lbd", DatabaseImage({{{"Find the key", false}}}));
//     StartDialog();
//     ExpectBox("Save the current quest database?", IDYES);
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
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_dlg.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "res/resource.h"

// One item of a quest for DatabaseImage: its text and its finisher flag.
using TestItem = std::pair<std::string, bool>;
using TestQuest = std::vector<TestItem>;

// The quests.lbd bytes of a database holding these quests.
std::string DatabaseImage(const std::vector<TestQuest>& quests);
// The 4 bytes of the empty database.
std::string EmptyDatabaseImage();

// One journal entry for JournalText: its heading and its text.
using TestEntry = std::pair<std::string, std::string>;
// A journal.htm as the game writes it: each entry a heading line in a tag, then its
// text line, lines ending in CR LF.
std::string JournalText(const std::vector<TestEntry>& entries);

// A message box as the program showed it.
struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
    bool mainWindowVisible = false;  // whether the main window was on screen then
};

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scratch folder, which the program takes for its own directory.
    const std::string& Folder() const { return folder; }
    std::string PathOf(const std::string& name) const { return folder + "\\" + name; }
    void WriteFile(const std::string& name, const std::string& bytes);
    void RemoveFile(const std::string& name);
    // The file's bytes; nullopt when it doesn't exist.
    std::optional<std::string> ReadFile(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> FolderFiles() const;
    void SetReadOnly(const std::string& name, bool readOnly);
    // Sets the file's last-write time to long ago, so that a rewrite shows.
    void MakeOld(const std::string& name);
    bool IsOld(const std::string& name) const;

    // Announces the next message box: its whole text (ExpectBox) or how it begins
    // (ExpectBoxStartingWith), and the button that answers it.
    void ExpectBox(std::string text, int answer = IDOK);
    void ExpectBoxStartingWith(std::string prefix, int answer = IDOK);
    // Every box shown so far, in order.
    const std::vector<ShownBox>& Boxes() const { return shown; }

    // Makes the main dialog and runs its start-up, as the program does, then shows it.
    // May be called again once the previous dialog has ended.
    void StartDialog();
    // Writes the folder's two files, then starts the dialog on them.
    void StartDialogWith(const std::string& journal, const std::string& database);
    CMainDlg& Dialog() { return *dialog; }
    HWND Window() const { return dialog->m_hWnd; }
    HWND Control(int id) const { return GetDlgItem(dialog->m_hWnd, id); }
    // Whether EndDialog has been called, and with what.
    bool Ended() const { return dialog->IsEnded(); }
    INT_PTR Result() const { return dialog->GetResult(); }

    // Input, as the platform delivers it. Clicks arrive at once; keys are posted to
    // the focused control and taken through the dialog's loop step, so they pass
    // PreTranslateMessage and IsDialogMessage as a user's keys do.
    void Click(int id);
    void Focus(int id);
    void PressKey(UINT key);
    // The key sent to that control whether or not it has the focus, which another
    // program's window may take away while tests run side by side.
    void PressKeyOn(int id, UINT key);
    // The key with Alt held down (Alt+F4).
    void PressAltKey(UINT key);
    // A close request (the caption's close box), then the messages it posts.
    void RequestClose();
    // A command of the menu bar.
    void MenuCommand(UINT id);
    // What a click on a row does: the row selected, then LBN_SELCHANGE.
    void SelectListRow(int row);
    // Selects the tree item (null: none); the tree reports it itself.
    void SelectTreeItem(HTREEITEM item);
    // The first tree item, in display order, whose label is `text`; null if none.
    HTREEITEM FindTreeItem(const std::string& text) const;
    // Moves the slider's thumb to `position`, with the notification a drag ends with.
    void MoveSlider(int position);
    // Runs the dialog's loop step for every queued message.
    void PumpMessages();
    // Runs `open`, which should open a modal dialog over the main window, and calls
    // `act` with that dialog's window once its loop runs; `act` should close it. A
    // dialog still open a second later is cancelled and fails the test. Returns
    // whether a dialog came.
    bool WithModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& act);

    // What the controls show.
    std::string Text(int id) const;
    bool IsChecked(int id) const;
    int ListCount() const;
    int ListSelection() const;
    int TreeCount() const;
    std::vector<std::string> ListRows() const;
    LPARAM ListRowData(int row) const;
    // The tree's labels in display order, children indented by two spaces, with
    // " [+]" after a collapsed item that has children.
    std::vector<std::string> TreeLines() const;
    std::string TreeItemText(HTREEITEM item) const;
    LPARAM TreeItemData(HTREEITEM item) const;
    HTREEITEM TreeSelection() const;

private:
    struct ExpectedBox {
        std::string text;
        bool prefixOnly;
        int answer;
    };
    int AnswerBox(const MessageBoxRequest& request);
    void PostKey(HWND target, UINT key);

    std::string folder;
    CWinApp app;  // holds the main-window pointer that message boxes are owned by
    std::unique_ptr<CMainDlg> dialog;
    std::deque<ExpectedBox> expected;
    std::vector<ShownBox> shown;
};
