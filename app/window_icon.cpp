// The window's icon: in the caption and the task bar, and drawn in the window while it
// is minimised.
#include "app/main_dlg.h"

void CMainDlg::ShowIcon() {
    SetIcon(appIcon, TRUE);
    SetIcon(appIcon, FALSE);
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
