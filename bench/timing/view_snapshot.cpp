#include "bench/timing/view_snapshot.h"

// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <cstring>

namespace {

constexpr char kFinisherPrefix[] = "FINISHER: ";

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

TreeRow ReadRow(HWND tree, HTREEITEM item, bool topLevel) {
    // Only the start of the label matters: whether it carries the prefix.
    char start[sizeof(kFinisherPrefix)] = "";
    TVITEMA data = {};
    data.mask = TVIF_PARAM | TVIF_STATE | TVIF_TEXT;
    data.hItem = item;
    data.stateMask = TVIS_EXPANDED;
    data.pszText = start;
    data.cchTextMax = sizeof(start);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    TreeRow row;
    row.position = static_cast<std::int32_t>(data.lParam);
    row.topLevel = topLevel;
    row.finisher = std::strncmp(start, kFinisherPrefix, sizeof(kFinisherPrefix) - 1) == 0;
    row.expanded = (data.state & TVIS_EXPANDED) != 0;
    return row;
}

void RedrawOn(HWND control) {
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
}

}  // namespace

ViewSnapshot TakeSnapshot(HWND tree, HWND list) {
    ViewSnapshot view;
    for (HTREEITEM top = Next(tree, nullptr, TVGN_ROOT); top; top = Next(tree, top, TVGN_NEXT)) {
        view.tree.push_back(ReadRow(tree, top, true));
        for (HTREEITEM child = Next(tree, top, TVGN_CHILD); child;
             child = Next(tree, child, TVGN_NEXT)) {
            view.tree.push_back(ReadRow(tree, child, false));
        }
    }
    const LRESULT rows = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row) {
        view.listRows.push_back(
            static_cast<std::int32_t>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
    }
    return view;
}

std::string TreeRowLabel(const TreeRow& row, const std::vector<JournalEntry>& journal) {
    const std::string& text = journal[static_cast<std::size_t>(row.position)].text;
    return row.finisher ? kFinisherPrefix + text : text;
}

void FillTree(HWND tree, const ViewSnapshot& view, const std::vector<JournalEntry>& journal) {
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    std::vector<HTREEITEM> toExpand;
    HTREEITEM top = nullptr;
    for (const TreeRow& row : view.tree) {
        const std::string label = TreeRowLabel(row, journal);
        TVINSERTSTRUCTA insert = {};
        insert.hParent = row.topLevel ? TVI_ROOT : top;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(label.c_str());
        insert.item.lParam = row.position;
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        if (row.topLevel) top = item;
        if (row.expanded) toExpand.push_back(item);
    }
    for (HTREEITEM item : toExpand) {
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
    RedrawOn(tree);
}

void FillList(HWND list, const ViewSnapshot& view, const std::vector<JournalEntry>& journal) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (std::int32_t position : view.listRows) {
        const std::string& text = journal[static_cast<std::size_t>(position)].text;
        const LRESULT row =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(row), position);
    }
    RedrawOn(list);
}
