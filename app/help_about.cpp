// The Help and About dialogs, and the window's icon while it is minimised.
#include "app/about_dlg.h"
#include "app/help_dlg.h"
#include "app/main_dlg.h"
#include "res/resource.h"

// The help text shows in the panes' font of the moment; the dialog only borrows it,
// and the main window can't change it while the dialog is open.
void CMainDlg::OnButtonHelp() {
    CHelpDlg help;
    help.helpFont = &paneFont;
    help.DoModal();
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

void CMainDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    int iconWidth = GetSystemMetrics(SM_CXICON);
    int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc, x, y, appIcon);
    EndPaint(m_hWnd, &paint);
}

HCURSOR CMainDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(appIcon);
}
