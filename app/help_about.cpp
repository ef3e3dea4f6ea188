// The Help and About dialogs, and the window's icon while it is minimised.
#include "app/main_dlg.h"

void CMainDlg::OnButtonHelp() {}

void CMainDlg::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CMainDlg::OnPaint() {
    Default();
}

HCURSOR CMainDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(appIcon);
}
