#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace e2e {

class Program;

// The id of the static that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// Reading any window's class and text, including another process's controls.
std::string ClassName(HWND window);
std::string WindowText(HWND window);
// The same in UTF-8, every character kept: what a message says, which may name a path.
std::string WindowTextUtf8(HWND window);

// One item of a tree view and the items under it.
struct TreeNode {
    std::string label;
    bool expanded = false;
    LPARAM data = 0;
    std::vector<TreeNode> children;
    HTREEITEM handle = nullptr;  // valid until the program rebuilds its tree
};

// A message box of the program, answered as a person would: by its buttons.
class MessageBoxWindow {
public:
    MessageBoxWindow(Program& program, HWND box) : program(program), box(box) {}

    HWND Handle() const { return box; }
    std::string Caption() const { return WindowText(box); }
    // UTF-8, as the program's messages are.
    std::string Text() const { return WindowTextUtf8(GetDlgItem(box, kMessageBoxTextId)); }
    bool HasButton(int id) const;
    // Clicks the button (IDOK, IDYES, IDNO, ...) and waits until the box is gone.
    void Press(int id, const std::string& step);

private:
    Program& program;
    HWND box;
};

// The platform's open-file dialog: types `name` into its file name box (relative to the
// folder it shows, or a full path), opens it and waits until the dialog is gone.
void ChooseFileToOpen(Program& program, HWND dialog, const std::string& name,
                      const std::string& step);

// The program's main window and its controls, found by their ids. Input goes
// in as posted messages, which the program's own loop then handles as it
// handles a person's input; each input waits until the program has handled
// it (or has opened a modal box or ended because of it).
class MainWindow {
public:
    MainWindow(Program& program, HWND window) : program(program), window(window) {}

    HWND Handle() const { return window; }
    HWND Control(int id) const;
    std::string Caption() const { return WindowText(window); }
    std::string Text(int id) const { return WindowText(Control(id)); }
    bool IsChecked(int id) const;
    bool IsStillOpen() const { return IsWindow(window) && IsWindowVisible(window); }
    int FocusedControlId() const;

    std::vector<std::string> ListRows(int id) const;
    int ListSelection(int id) const;
    int ListTopRow(int id) const;
    std::vector<TreeNode> Tree(int id) const;

    void Click(int id);
    // Clicks a row of a list box with the mouse, as a person picks an entry.
    void ClickListRow(int id, int row);
    // Selects the first item of a tree view, in display order, that carries this label.
    void SelectTreeItem(int id, const std::string& label);
    // Opens or closes the top-level item of a tree view that carries this label.
    void ExpandTreeItem(int id, const std::string& label, bool open);
    // Scrolls a list box so that this row is the first shown, as its scroll bar does.
    void ScrollListTo(int id, int row);
    void MenuCommand(UINT id);  // a command of the menu bar
    void PressKey(WORD key);    // to the control that has the focus
    // The key with Ctrl (and Shift) held, typed as real input to the focused control.
    // Posted messages can overtake input, so no marker tells when it has been handled:
    // the story waits for what the key does.
    void TypeCtrlKey(WORD key, bool shift = false);
    void PressAltF4();
    void Close();  // what the caption's close box does

private:
    // Sends a message with a timeout, so a hung program fails the step instead of the run.
    LRESULT Send(HWND target, UINT message, WPARAM wParam, LPARAM lParam) const;
    HWND FocusedWindow() const;
    // Input for `step`: a message that can't be posted fails it.
    void Post(const std::string& step, HWND target, UINT message, WPARAM wParam, LPARAM lParam);
    // The release of a key or button, which may find the window already closed by the press.
    void PostRelease(const std::string& step, HWND target, UINT message, WPARAM wParam,
                     LPARAM lParam);
    [[noreturn]] void FailToPost(const std::string& step, DWORD error);
    // Returns once the program has handled every message posted so far.
    void Settle(const std::string& step);
    TreeNode ReadTreeItem(HWND tree, HTREEITEM item, void* remote) const;

    Program& program;
    HWND window;
    DWORD settleMark = 0;
};

}  // namespace e2e
