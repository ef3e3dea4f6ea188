// Runs the real CMainDlg, on the real dialog template with the real common controls,
// in this process, and drives it with the messages the platform would send: the
// in-process GUI tests and the timing run both drive it so. Input is sent straight to
// the controls, and every message it queues then passes through the dialog's own
// loop step.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "tests/support/win/control_reading.h"

class DialogDriver {
public:
    DialogDriver() = default;
    ~DialogDriver() { Close(); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Makes the main dialog and runs its start-up, as the program does, then shows it
    // unless it ended during start-up. Ends a dialog made before. False when the
    // dialog couldn't be created.
    bool Start();
    // Destroys the dialog, if there is one.
    void Close();

    CMainDlg& Dialog() { return *dialog; }
    // The dialog's window; null while there is none.
    HWND Window() const { return dialog ? dialog->m_hWnd : nullptr; }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }
    // Whether EndDialog has been called, and with what.
    bool Ended() const { return dialog->IsEnded(); }
    INT_PTR Result() const { return dialog->GetResult(); }

    // Input, as the platform delivers it. Clicks arrive at once; keys are posted to
    // the focused control and taken through the dialog's loop step, so they pass
    // PreTranslateMessage and IsDialogMessage as a user's keys do.
    void Click(int id) { Send(Control(id), BM_CLICK, 0, 0); }
    void Focus(int id) {
        SetFocus(Control(id));
        PumpMessages();
    }
    void PressKey(UINT key) { PostKey(Focused(), key, 0); }
    // The key sent to that control whether or not it has the focus, which another
    // program's window may take away while tests run side by side.
    void PressKeyOn(int id, UINT key) { PostKey(Control(id), key, 0); }
    // The key sent to that control with Ctrl held down, and Shift too when asked.
    void PressCtrlKeyOn(int id, UINT key, bool shift = false);
    // The key with Alt held down (Alt+F4).
    void PressAltKey(UINT key) { PostKey(Focused(), key, static_cast<LPARAM>(KF_ALTDOWN) << 16); }
    // A close request (the caption's close box), then the messages it posts.
    void RequestClose() { Send(Window(), WM_CLOSE, 0, 0); }
    // A command of the menu bar.
    void MenuCommand(UINT id) { Send(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // What a click on a row does: the row selected, then LBN_SELCHANGE.
    void SelectListRow(int row);
    // Selects the tree item (null: none); the tree reports it itself.
    void SelectTreeItem(HTREEITEM item) {
        Send(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    // The first tree item, in display order, whose label is `text`; null if none.
    HTREEITEM FindTreeItem(const std::string& text) const;
    // Moves the slider's thumb to `position`, with the notification a drag ends with.
    void MoveSlider(int position);
    // Runs the dialog's loop step for every queued message.
    void PumpMessages() { CDialog::PumpQueuedMessages(dialog.get()); }

    // What the controls show.
    std::string Text(int id) const;
    bool IsChecked(int id) const { return Ask(id, BM_GETCHECK) == BST_CHECKED; }
    int ListCount() const { return static_cast<int>(Ask(IDC_JOURNAL_LIST, LB_GETCOUNT)); }
    int ListSelection() const { return static_cast<int>(Ask(IDC_JOURNAL_LIST, LB_GETCURSEL)); }
    int TreeCount() const { return static_cast<int>(Ask(IDC_QUEST_TREE, TVM_GETCOUNT)); }
    std::vector<std::string> ListRows() const;
    LPARAM ListRowData(int row) const { return Ask(IDC_JOURNAL_LIST, LB_GETITEMDATA, row); }
    // The tree's labels in display order, children indented by two spaces, with
    // " [+]" after a collapsed item that has children.
    std::vector<std::string> TreeLines() const;
    std::string TreeItemText(HTREEITEM item) const { return ReadTreeItem(Tree(), item).label; }
    LPARAM TreeItemData(HTREEITEM item) const { return ReadTreeItem(Tree(), item, 0).data; }
    HTREEITEM TreeSelection() const {
        return reinterpret_cast<HTREEITEM>(Ask(IDC_QUEST_TREE, TVM_GETNEXTITEM, TVGN_CARET));
    }

private:
    // Sends the message, then runs the dialog's loop step for what it queued.
    void Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
        SendMessageA(target, message, wParam, lParam);
        PumpMessages();
    }
    LRESULT Ask(int id, UINT message, WPARAM wParam = 0) const {
        return SendMessageA(Control(id), message, wParam, 0);
    }
    HWND Tree() const { return Control(IDC_QUEST_TREE); }
    HWND Focused() const {
        HWND focus = GetFocus();
        return focus ? focus : Window();
    }
    void PostKey(HWND target, UINT key, LPARAM flags);

    CWinApp app;  // holds the main-window pointer that message boxes are owned by
    std::unique_ptr<CMainDlg> dialog;
};
