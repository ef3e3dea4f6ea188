#include "bench/timing/view_snapshot.h"

#include "framework/list_box.h"
#include "framework/tree_ctrl.h"
#include "tests/support/win/control_reading.h"
#include "views/redraw_off_win.h"

namespace {

constexpr char kFinisherPrefix[] = "FINISHER: ";

const std::string& Text(const std::vector<JournalEntry>& journal, std::int32_t position) {
    return journal[static_cast<std::size_t>(position)].text;
}

}  // namespace

ViewSnapshot TakeSnapshot(HWND tree, HWND list) {
    ViewSnapshot view;
    // Only the start of a label matters: whether it carries the prefix.
    VisitTree(tree, sizeof(kFinisherPrefix), [&view](const TreeViewItem& item) {
        view.tree.push_back(TreeRow{static_cast<std::int32_t>(item.data), item.topLevel,
                                    item.label == kFinisherPrefix, item.expanded});
    });
    for (LPARAM data : ReadListData(list)) view.listRows.push_back(static_cast<std::int32_t>(data));
    return view;
}

void FillTree(HWND window, const ViewSnapshot& view, const std::vector<JournalEntry>& journal) {
    CTreeCtrl tree;
    tree.Attach(window);
    RedrawOff redrawOff(tree);
    tree.DeleteAllItems();
    std::vector<HTREEITEM> toExpand;
    HTREEITEM top = nullptr;
    for (const TreeRow& row : view.tree) {
        const std::string& text = Text(journal, row.position);
        HTREEITEM item = tree.InsertItem(row.finisher ? kFinisherPrefix + text : text,
                                         row.topLevel ? TVI_ROOT : top, row.position);
        if (row.topLevel) top = item;
        if (row.expanded) toExpand.push_back(item);
    }
    for (HTREEITEM item : toExpand) tree.Expand(item, TVE_EXPAND);
}

void FillList(HWND window, const ViewSnapshot& view, const std::vector<JournalEntry>& journal) {
    CListBox list;
    list.Attach(window);
    RedrawOff redrawOff(list);
    list.ResetContent();
    for (std::int32_t position : view.listRows)
        list.SetItemData(list.AddString(Text(journal, position)), position);
}
