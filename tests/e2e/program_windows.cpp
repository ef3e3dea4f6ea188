#include "program_windows.h"

#include <cstring>
#include <cwchar>

#include "framework/wide_text.h"
#include "program.h"
#include "tests/support/win/control_reading.h"

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr std::size_t kTreeTextMax = 4096;

// Memory inside the program's process, for the controls whose messages carry
// pointers that Wine passes across unchanged.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, std::size_t size)
        : process(process),
          base(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (base) VirtualFreeEx(process, base, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* Base() const { return static_cast<char*>(base); }

private:
    HANDLE process;
    void* base;
};

struct EditSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindReadOnlyEdit(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<EditSearch*>(param);
    if (ClassName(child) == "Edit" && (GetWindowLongA(child, GWL_STYLE) & ES_READONLY)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

LPARAM KeyParam(WORD key, bool up, bool alt) {
    LPARAM param = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16);
    if (alt) param |= 1 << 29;
    if (up) param |= (1u << 30) | (1u << 31);
    return param;
}

}  // namespace

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: across processes the latter may
    // return a control's creation caption instead of what it shows now.
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                        kSendTimeoutMs, &length)) {
        return "";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
        return "";
    }
    text.resize(copied);
    return text;
}

std::string WindowTextUtf8(HWND window) {
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                                        kSendTimeoutMs, &length)) {
        return "";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
        return "";
    }
    text.resize(copied);
    return Utf8FromWide(text);
}

bool MessageBoxWindow::HasButton(int id) const {
    HWND button = GetDlgItem(box, id);
    return button && ClassName(button) == "Button" && IsWindowVisible(button);
}

void MessageBoxWindow::Press(int id, const std::string& step) {
    if (!HasButton(id)) program.Fail(step, "the message box has no button " + std::to_string(id));
    PostMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0);
    program.ExpectEventually(step, "the message box to close",
                             [&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

void ChooseFileToOpen(Program& program, HWND dialog, const std::string& name,
                      const std::string& step) {
    // The file name box, cmb13.
    HWND box = GetDlgItem(dialog, 1148);
    const std::wstring wide = WideFromUtf8(name);
    DWORD_PTR result = 0;
    if (!box || !SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                     SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        program.Fail(step, "the dialog has no file name box to type into");
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    program.ExpectEventually(step, "the dialog to close",
                             [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

HWND MainWindow::Control(int id) const {
    return GetDlgItem(window, id);
}

LRESULT MainWindow::Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(target, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result) &&
        GetLastError() == ERROR_TIMEOUT) {
        program.Fail("reading the main window", "the program doesn't respond");
    }
    return static_cast<LRESULT>(result);
}

void MainWindow::Post(const std::string& step, HWND target, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    if (!PostMessageA(target, message, wParam, lParam)) FailToPost(step, GetLastError());
}

// The press may have closed the window already: Esc ends a program that has nothing
// unsaved. A real key's release then goes nowhere too; the story judges what the press did.
void MainWindow::PostRelease(const std::string& step, HWND target, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    if (!PostMessageA(target, message, wParam, lParam)) {
        const DWORD error = GetLastError();
        if (error != ERROR_INVALID_WINDOW_HANDLE) FailToPost(step, error);
    }
}

void MainWindow::FailToPost(const std::string& step, DWORD error) {
    program.Fail(step, "the input can't be posted (error " + std::to_string(error) + ")");
}

bool MainWindow::IsChecked(int id) const {
    return Send(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MainWindow::FocusedControlId() const {
    HWND focus = FocusedWindow();
    return focus == window ? 0 : GetDlgCtrlID(focus);
}

std::vector<std::string> MainWindow::ListRows(int id) const {
    HWND list = Control(id);
    std::vector<std::string> rows;
    LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        LRESULT length = Send(list, LB_GETTEXTLEN, row, 0);
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&wide[0]),
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
        wide.resize(wcsnlen(wide.c_str(), wide.size()));
        rows.push_back(FromWide(wide));
    }
    return rows;
}

int MainWindow::ListSelection(int id) const {
    return static_cast<int>(Send(Control(id), LB_GETCURSEL, 0, 0));
}

int MainWindow::ListTopRow(int id) const {
    return static_cast<int>(Send(Control(id), LB_GETTOPINDEX, 0, 0));
}

TreeNode MainWindow::ReadTreeItem(HWND tree, HTREEITEM item, void* remote) const {
    char* base = static_cast<char*>(remote);
    TVITEMA query{};
    query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
    query.hItem = item;
    query.stateMask = TVIS_EXPANDED;
    query.pszText = base + sizeof(TVITEMA);
    query.cchTextMax = kTreeTextMax;
    WriteProcessMemory(program.Process(), base, &query, sizeof query, nullptr);
    Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(base));

    TVITEMA answer{};
    std::string label(kTreeTextMax, '\0');
    ReadProcessMemory(program.Process(), base, &answer, sizeof answer, nullptr);
    ReadProcessMemory(program.Process(), base + sizeof(TVITEMA), &label[0], label.size(), nullptr);
    label.resize(strnlen(label.c_str(), label.size()));

    TreeNode node{label, (answer.state & TVIS_EXPANDED) != 0, answer.lParam, {}, item};
    auto child = reinterpret_cast<HTREEITEM>(
        Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    for (; child; child = reinterpret_cast<HTREEITEM>(
                      Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)))) {
        node.children.push_back(ReadTreeItem(tree, child, remote));
    }
    return node;
}

std::vector<TreeNode> MainWindow::Tree(int id) const {
    HWND tree = Control(id);
    RemoteBlock remote(program.Process(), sizeof(TVITEMA) + kTreeTextMax);
    if (!remote.Base()) program.Fail("reading the tree", "no memory in the program's process");
    std::vector<TreeNode> top;
    auto item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        top.push_back(ReadTreeItem(tree, item, remote.Base()));
    }
    return top;
}

void MainWindow::Settle(const std::string& step) {
    // A posted marker that changes nothing the program relies on: the limit of
    // typed text in a read-only pane. Posted messages are handled in order,
    // so once the marker has arrived, so has everything posted before it.
    EditSearch search;
    EnumChildWindows(window, FindReadOnlyEdit, reinterpret_cast<LPARAM>(&search));
    HWND marker = search.found;
    if (!marker) return;
    DWORD mark = 0x7FFF0000 | (++settleMark & 0xFFFF);
    PostMessageA(marker, EM_SETLIMITTEXT, mark, 0);
    program.ExpectEventually(step, "the program to handle the input", [&] {
        if (!IsWindow(marker) || program.HasEnded()) return true;
        DWORD_PTR limit = 0;
        return SendMessageTimeoutA(marker, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                   &limit) &&
               limit == mark;
    });
}

void MainWindow::Click(int id) {
    const std::string step = "click control " + std::to_string(id);
    Post(step, Control(id), BM_CLICK, 0, 0);
    Settle(step);
}

void MainWindow::ClickListRow(int id, int row) {
    HWND list = Control(id);
    LRESULT top = Send(list, LB_GETTOPINDEX, 0, 0);
    LRESULT height = Send(list, LB_GETITEMHEIGHT, 0, 0);
    RECT client;
    GetClientRect(list, &client);
    int y = static_cast<int>((row - top) * height + height / 2);
    const std::string step = "click row " + std::to_string(row);
    if (row < top || y >= client.bottom) program.Fail(step, "the row is scrolled out of sight");
    LPARAM point = MAKELPARAM(4, y);
    Post(step, list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostRelease(step, list, WM_LBUTTONUP, 0, point);
    Settle(step);
}

void MainWindow::SelectTreeItem(int id, const std::string& label) {
    const std::string step = "select tree item \"" + label + "\"";
    HTREEITEM found = nullptr;
    for (const TreeNode& top : Tree(id)) {
        if (top.label == label) found = top.handle;
        for (const TreeNode& child : top.children) {
            if (!found && child.label == label) found = child.handle;
        }
        if (found) break;
    }
    if (!found) program.Fail(step, "the tree has no such item");
    Post(step, Control(id), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    Settle(step);
}

void MainWindow::ExpandTreeItem(int id, const std::string& label, bool open) {
    const std::string step = (open ? "open \"" : "close \"") + label + "\"";
    for (const TreeNode& top : Tree(id)) {
        if (top.label != label) continue;
        Post(step, Control(id), TVM_EXPAND, open ? TVE_EXPAND : TVE_COLLAPSE,
             reinterpret_cast<LPARAM>(top.handle));
        Settle(step);
        return;
    }
    program.Fail(step, "the tree has no such top-level item");
}

void MainWindow::ScrollListTo(int id, int row) {
    const std::string step = "scroll to row " + std::to_string(row);
    Post(step, Control(id), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, row), 0);
    Settle(step);
}

void MainWindow::MenuCommand(UINT id) {
    const std::string step = "menu command " + std::to_string(id);
    Post(step, window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Settle(step);
}

HWND MainWindow::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(program.ThreadId(), &info) && info.hwndFocus ? info.hwndFocus : window;
}

void MainWindow::PressKey(WORD key) {
    HWND target = FocusedWindow();
    const std::string step = "press key " + std::to_string(key);
    Post(step, target, WM_KEYDOWN, key, KeyParam(key, false, false));
    PostRelease(step, target, WM_KEYUP, key, KeyParam(key, true, false));
    Settle(step);
}

// A posted key carries no modifier state, so a key with Ctrl comes as input, which goes
// to the foreground window.
void MainWindow::TypeCtrlKey(WORD key, bool shift) {
    SetForegroundWindow(window);
    std::vector<WORD> down = {VK_CONTROL};
    if (shift) down.push_back(VK_SHIFT);
    down.push_back(key);
    std::vector<INPUT> inputs;
    for (WORD vk : down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        inputs.push_back(input);
    }
    for (auto vk = down.rbegin(); vk != down.rend(); ++vk) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *vk;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        program.Fail("type Ctrl+" + std::string(1, static_cast<char>(key)), "SendInput failed");
}

void MainWindow::PressAltF4() {
    // The platform turns it into a posted close command, which may still be on
    // its way when this returns; the story's next wait covers that.
    HWND target = FocusedWindow();
    const std::string step = "press Alt+F4";
    Post(step, target, WM_SYSKEYDOWN, VK_F4, KeyParam(VK_F4, false, true));
    PostRelease(step, target, WM_SYSKEYUP, VK_F4, KeyParam(VK_F4, true, true));
    Settle(step);
}

void MainWindow::Close() {
    const std::string step = "close the main window";
    Post(step, window, WM_CLOSE, 0, 0);
    Settle(step);
}

}  // namespace e2e
