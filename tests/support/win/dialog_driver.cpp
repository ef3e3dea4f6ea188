#include "tests/support/win/dialog_driver.h"

#include "res/resource.h"
#include "tests/support/win/control_reading.h"

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

void DialogDriver::Click(int id) {
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    PumpMessages();
}

void DialogDriver::Focus(int id) {
    SetFocus(Control(id));
    PumpMessages();
}

void DialogDriver::PressKey(UINT key) {
    HWND focus = GetFocus();
    PostKey(focus ? focus : Window(), key, 0);
}

void DialogDriver::PressKeyOn(int id, UINT key) {
    PostKey(Control(id), key, 0);
}

void DialogDriver::PressAltKey(UINT key) {
    HWND focus = GetFocus();
    PostKey(focus ? focus : Window(), key, static_cast<LPARAM>(KF_ALTDOWN) << 16);
}

void DialogDriver::PostKey(HWND target, UINT key, LPARAM flags) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    const bool alt = flags != 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, scan | flags | 1);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key,
                 scan | flags | 1 | (1u << 30) | (1u << 31));
    PumpMessages();
}

void DialogDriver::RequestClose() {
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    PumpMessages();
}

void DialogDriver::MenuCommand(UINT id) {
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    PumpMessages();
}

void DialogDriver::SelectListRow(int row) {
    HWND list = Control(IDC_JOURNAL_LIST);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(IDC_JOURNAL_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    PumpMessages();
}

void DialogDriver::SelectTreeItem(HTREEITEM item) {
    SendMessageA(Control(IDC_QUEST_TREE), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(item));
    PumpMessages();
}

HTREEITEM DialogDriver::FindTreeItem(const std::string& text) const {
    for (const TreeViewItem& item : ReadTree(Control(IDC_QUEST_TREE)))
        if (item.label == text) return item.handle;
    return nullptr;
}

void DialogDriver::MoveSlider(int position) {
    HWND slider = Control(IDC_FONT_SLIDER);
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(slider));
    PumpMessages();
}

void DialogDriver::PumpMessages() {
    CDialog::PumpQueuedMessages(dialog.get());
}

std::string DialogDriver::Text(int id) const {
    char text[4096] = "";
    GetDlgItemTextA(Window(), id, text, sizeof(text));
    return text;
}

bool DialogDriver::IsChecked(int id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int DialogDriver::ListCount() const {
    return static_cast<int>(SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETCOUNT, 0, 0));
}

int DialogDriver::ListSelection() const {
    return static_cast<int>(SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETCURSEL, 0, 0));
}

int DialogDriver::TreeCount() const {
    return static_cast<int>(SendMessageA(Control(IDC_QUEST_TREE), TVM_GETCOUNT, 0, 0));
}

std::vector<std::string> DialogDriver::ListRows() const {
    return ReadListRows(Control(IDC_JOURNAL_LIST));
}

LPARAM DialogDriver::ListRowData(int row) const {
    return SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETITEMDATA, row, 0);
}

std::vector<std::string> DialogDriver::TreeLines() const {
    const std::vector<TreeViewItem> items = ReadTree(Control(IDC_QUEST_TREE));
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool hasChildren = i + 1 < items.size() && !items[i + 1].topLevel;
        if (!items[i].topLevel)
            lines.push_back("  " + items[i].label);
        else
            lines.push_back(items[i].label + (hasChildren && !items[i].expanded ? " [+]" : ""));
    }
    return lines;
}

std::string DialogDriver::TreeItemText(HTREEITEM item) const {
    return ::TreeItemText(Control(IDC_QUEST_TREE), item);
}

LPARAM DialogDriver::TreeItemData(HTREEITEM item) const {
    return ::TreeItemData(Control(IDC_QUEST_TREE), item);
}

HTREEITEM DialogDriver::TreeSelection() const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(Control(IDC_QUEST_TREE), TVM_GETNEXTITEM, TVGN_CARET, 0));
}
