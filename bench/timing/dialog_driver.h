// The real main dialog, made and driven in this process as the in-process GUI tests
// drive it: the platform's messages sent straight to it, and every queued message
// passed through the dialog's own loop step.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <memory>

#include "app/main_dlg.h"
#include "bench/timing/view_snapshot.h"
#include "framework/win_app.h"
#include "res/resource.h"

class Driver {
public:
    explicit Driver(CWinApp& app) : app(app) {}
    ~Driver() { Close(); }

    bool Start() {
        dialog = std::make_unique<CMainDlg>();
        app.m_pMainWnd = dialog.get();
        if (!dialog->Create()) return false;
        if (!dialog->IsEnded()) dialog->ShowWindow(SW_SHOWNORMAL);
        Pump();
        return true;
    }
    void Close() {
        if (!dialog) return;
        dialog->DestroyWindow();
        Pump();
        app.m_pMainWnd = nullptr;
        dialog.reset();
    }
    CMainDlg& Dialog() { return *dialog; }
    HWND Control(int id) const { return GetDlgItem(dialog->m_hWnd, id); }

    void Click(int id) {
        SendMessageA(Control(id), BM_CLICK, 0, 0);
        Pump();
    }
    void Command(UINT id) {
        SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    void RequestClose() {
        SendMessageA(dialog->m_hWnd, WM_CLOSE, 0, 0);
        Pump();
    }
    void SelectListRow(int row) {
        HWND list = Control(IDC_JOURNAL_LIST);
        SendMessageA(list, LB_SETCURSEL, row, 0);
        SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_JOURNAL_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        Pump();
    }
    void SelectFirstTreeItem() {
        HWND tree = Control(IDC_QUEST_TREE);
        LRESULT first = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, first);
        Pump();
    }
    ViewSnapshot Snapshot() const {
        return TakeSnapshot(Control(IDC_QUEST_TREE), Control(IDC_JOURNAL_LIST));
    }
    void Pump() { CDialog::PumpQueuedMessages(dialog.get()); }

private:
    CWinApp& app;
    std::unique_ptr<CMainDlg> dialog;
};
