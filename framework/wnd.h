// CWnd: a window handle with the few operations every window offers.
// Like every control class here, it holds the handle only; it never owns the window.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    HWND m_hWnd = nullptr;

    virtual ~CWnd() = default;

    operator HWND() const { return m_hWnd; }
    void Attach(HWND window) { m_hWnd = window; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    // Leaves the text alone when the window shows it already. An edit control lays
    // its text out again on every set, even of the text it holds, which is slow
    // enough under Wine to count where a view refresh sets its panes repeatedly.
    void SetWindowTextIfChanged(const std::string& text);
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    // Turns painting off while a control is refilled, and back on (with a repaint) after.
    void SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw); }
    void Invalidate() { InvalidateRect(m_hWnd, nullptr, TRUE); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    static void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetDlgItemText(int id, const std::string& text) {
        ::SetDlgItemTextA(m_hWnd, id, text.c_str());
    }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
};
