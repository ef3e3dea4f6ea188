// The About box, which the system menu opens.
#include "app/about_dlg.h"

#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "res/resource.h"

void CMainDlg::AppendAboutToSystemMenu() {
    HMENU systemMenu = GetSystemMenu(FALSE);
    if (!systemMenu) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, kAboutMenuItem);
}

void CMainDlg::OnSysCommand(UINT command, LPARAM) {
    // The platform uses the four low bits of a system command itself.
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();  // move, minimise, restore; Close becomes a close request
}
