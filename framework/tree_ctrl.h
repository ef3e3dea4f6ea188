// CTreeCtrl: the tree-view operations the program performs.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "framework/wnd.h"

class CTreeCtrl : public CWnd {
public:
    BOOL DeleteAllItems() {
        return static_cast<BOOL>(
            SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    }
    BOOL DeleteItem(HTREEITEM item) {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
    }
    // Puts the item, with its application value, under its parent after `after` (by
    // default after the parent's existing children); the parent is TVI_ROOT for the top
    // level. An item put in `open` shows the children it gets. Returns null on failure.
    HTREEITEM InsertItem(const std::string& text, HTREEITEM parent = TVI_ROOT, LPARAM data = 0,
                         HTREEITEM after = TVI_LAST, bool open = false);
    LPARAM GetItemData(HTREEITEM item) const;
    BOOL Expand(HTREEITEM item, UINT code) {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    // Scrolls the tree so that the item is the first one shown.
    BOOL SelectSetFirstVisible(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item)));
    }
    bool IsExpanded(HTREEITEM item) const {
        return (SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
                TVIS_EXPANDED) != 0;
    }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    // Null removes the selection. TVN_SELCHANGED arrives before this returns.
    BOOL SelectItem(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }

private:
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
};
