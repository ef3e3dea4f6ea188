// What the tree views and list boxes of this process hold, read back through the
// controls' own messages.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// One item of a two-level tree view.
struct TreeViewItem {
    HTREEITEM handle = nullptr;
    std::string label;
    LPARAM data = 0;
    bool topLevel = false;  // a child hangs under the last top-level item before it
    bool expanded = false;
};

// Hands visit(const TreeViewItem&) the top-level items and their children in display
// order, each label cut to at most `labelBytes` - 1 bytes (none at all for 0).
void VisitTree(HWND tree, std::size_t labelBytes,
               const std::function<void(const TreeViewItem&)>& visit);
std::vector<TreeViewItem> ReadTree(HWND tree);
// One item, its label cut as above; its topLevel is left false.
TreeViewItem ReadTreeItem(HWND tree, HTREEITEM item, std::size_t labelBytes = 4096);

// Wide text in the system code page. Wine's ANSI LB_GETTEXT crashes on rows of more
// than a few hundred characters, and across processes returns wide text anyway: list
// rows are read wide, then converted.
std::string FromWide(const std::wstring& wide);

// The rows' texts in the system code page, and the rows' data.
std::vector<std::string> ReadListRows(HWND list);
std::vector<LPARAM> ReadListData(HWND list);
