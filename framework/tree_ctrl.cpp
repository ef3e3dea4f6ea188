#include "framework/tree_ctrl.h"

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, HTREEITEM parent, LPARAM data,
                                HTREEITEM after, bool open) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    if (open) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = insert.item.stateMask = TVIS_EXPANDED;
    }
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA tvItem = {};
    tvItem.mask = TVIF_PARAM;
    tvItem.hItem = item;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvItem));
    return tvItem.lParam;
}
