#include "tests/support/win/dialog_driver.h"

#include <algorithm>
#include <iterator>

bool DialogDriver::Start() {
    if (dialog) {
        dialog->DestroyWindow();
        PumpMessages();
    }
    dialog = std::make_unique<CMainDlg>();
    app.m_pMainWnd = dialog.get();
    if (!dialog->Create()) return false;
    // As DoModal does: a dialog that ended during its start-up is never shown.
    if (!dialog->IsEnded()) dialog->ShowWindow(SW_SHOWNORMAL);
    PumpMessages();
    return true;
}

void DialogDriver::Close() {
    if (!dialog) return;
    dialog->DestroyWindow();
    PumpMessages();
    app.m_pMainWnd = nullptr;
    dialog.reset();
}

void DialogDriver::PostKey(HWND target, UINT key, LPARAM flags) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    const bool alt = flags != 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, scan | flags | 1);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key,
                 scan | flags | 1 | (1u << 30) | (1u << 31));
    PumpMessages();
}

// A posted key carries no modifiers: they are read from the thread's key state, which
// holds them down while the key goes through the loop.
void DialogDriver::PressCtrlKeyOn(int id, UINT key, bool shift) {
    BYTE saved[256] = {};
    GetKeyboardState(saved);
    BYTE held[256];
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
    if (shift) held[VK_SHIFT] = held[VK_LSHIFT] = 0x80;
    SetKeyboardState(held);
    PostKey(Control(id), key, 0);
    SetKeyboardState(saved);
}

void DialogDriver::SelectListRow(int row) {
    HWND list = Control(IDC_JOURNAL_LIST);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    Send(Window(), WM_COMMAND, MAKEWPARAM(IDC_JOURNAL_LIST, LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(list));
}

HTREEITEM DialogDriver::FindTreeItem(const std::string& text) const {
    for (const TreeViewItem& item : ReadTree(Control(IDC_QUEST_TREE)))
        if (item.label == text) return item.handle;
    return nullptr;
}

void DialogDriver::MoveSlider(int position) {
    HWND slider = Control(IDC_FONT_SLIDER);
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    const LPARAM from = reinterpret_cast<LPARAM>(slider);
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), from);
    Send(Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), from);
}

std::string DialogDriver::Text(int id) const {
    char text[4096] = "";
    GetDlgItemTextA(Window(), id, text, sizeof(text));
    return text;
}

std::vector<std::string> DialogDriver::ListRows() const {
    return ReadListRows(Control(IDC_JOURNAL_LIST));
}

std::vector<std::string> DialogDriver::TreeLines() const {
    const std::vector<TreeViewItem> items = ReadTree(Control(IDC_QUEST_TREE));
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool collapsed = !items[i].expanded && i + 1 < items.size() && !items[i + 1].topLevel;
        lines.push_back(items[i].topLevel ? items[i].label + (collapsed ? " [+]" : "")
                                          : "  " + items[i].label);
    }
    return lines;
}
