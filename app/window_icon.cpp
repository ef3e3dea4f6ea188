// The window's icon: in the caption and the task bar, and drawn in the window while it
// is minimised.
#include "app/main_dlg.h"
#include "framework/dpi.h"
#include "res/resource.h"

// Each in the size that the window's scale calls for, drawn for it rather than
// stretched. The window holds the new ones before the old ones go.
void CMainDlg::ShowIcon() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const HICON big = LoadIconForDpi(instance, IDR_MAINFRAME, SM_CXICON, dpi);
    const HICON small = LoadIconForDpi(instance, IDR_MAINFRAME, SM_CXSMICON, dpi);
    SetIcon(big ? big : appIcon, TRUE);
    SetIcon(small ? small : appIcon, FALSE);
    bigIcon.Attach(big);
    smallIcon.Attach(small);
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
