#include "tests/support/win/control_reading.h"

#include <algorithm>

namespace {

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

// Wine's tree view leaves a label cut to the buffer without its terminating zero.
TreeViewItem ReadTreeItem(HWND tree, HTREEITEM handle, std::size_t labelBytes) {
    std::string label(labelBytes, '\0');
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_STATE | (labelBytes > 0 ? TVIF_TEXT : 0);
    item.hItem = handle;
    item.stateMask = TVIS_EXPANDED;
    item.pszText = label.data();
    item.cchTextMax = static_cast<int>(labelBytes);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (labelBytes > 0) label.resize(std::min(label.find('\0'), labelBytes - 1));
    return TreeViewItem{handle, label, item.lParam, false, (item.state & TVIS_EXPANDED) != 0};
}

void VisitTree(HWND tree, std::size_t labelBytes,
               const std::function<void(const TreeViewItem&)>& visit) {
    for (HTREEITEM top = Next(tree, nullptr, TVGN_ROOT); top; top = Next(tree, top, TVGN_NEXT)) {
        TreeViewItem item = ReadTreeItem(tree, top, labelBytes);
        item.topLevel = true;
        visit(item);
        for (HTREEITEM child = Next(tree, top, TVGN_CHILD); child;
             child = Next(tree, child, TVGN_NEXT))
            visit(ReadTreeItem(tree, child, labelBytes));
    }
}

std::vector<TreeViewItem> ReadTree(HWND tree) {
    std::vector<TreeViewItem> items;
    VisitTree(tree, 4096, [&items](const TreeViewItem& item) { items.push_back(item); });
    return items;
}

std::string FromWide(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

std::vector<std::string> ReadListRows(HWND list) {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
        std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        rows.push_back(FromWide(wide));
    }
    return rows;
}

std::vector<LPARAM> ReadListData(HWND list) {
    std::vector<LPARAM> data;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row)
        data.push_back(SendMessageA(list, LB_GETITEMDATA, row, 0));
    return data;
}
