// The views changed in place where a step touched them, painting off meanwhile in each
// control that changes: Wine's tree view otherwise repaints what lies below each item
// put in or taken out, and turning its painting back on costs a look at every item.
#include <optional>

#include "app/main_dlg.h"
#include "views/redraw_off_win.h"
#include "views/shown_text_win.h"
#include "views/view_changes.h"
#include "views/view_messages.h"

namespace {

HTREEITEM Hti(TreeItemHandle item) {
    return static_cast<HTREEITEM>(item);
}

class DialogViews : public ShownViews {
public:
    explicit DialogViews(CMainDlg& dlg) : dlg(dlg) {}

    int RowCount() const override { return dlg.journalList.GetCount(); }
    std::int32_t RowPosition(int row) const override {
        return static_cast<std::int32_t>(dlg.journalList.GetItemData(row));
    }
    void InsertRow(int row, std::int32_t position) override {
        if (!listOff) listOff.emplace(dlg.journalList);
        row = dlg.journalList.InsertString(row, ShownText(Text(position)));
        if (row >= 0) dlg.journalList.SetItemData(row, position);
    }
    void DeleteRow(int row) override {
        if (!listOff) listOff.emplace(dlg.journalList);
        dlg.journalList.DeleteString(row);
    }
    TreeItemHandle ParentOf(TreeItemHandle item) const override {
        return dlg.questTree.GetParentItem(Hti(item));
    }
    void DeleteItem(TreeItemHandle item) override {
        if (!treeOff) treeOff.emplace(dlg.questTree);
        // The tree would hand the selection to another item, opening its quest maybe; it
        // goes now and comes back to its entry's new item.
        const HTREEITEM selected = dlg.questTree.GetSelectedItem();
        if (selected && (selected == item || dlg.questTree.GetParentItem(selected) == item)) {
            selectedEntry = dlg.questTree.GetItemData(selected);
            dlg.questTree.SelectItem(nullptr);
        }
        dlg.questTree.DeleteItem(Hti(item));
    }
    TreeItemHandle InsertItem(TreeItemHandle parent, TreeItemHandle after, std::int32_t position,
                              bool finisher, bool open) override {
        if (!treeOff) treeOff.emplace(dlg.questTree);
        return dlg.questTree.InsertItem(QuestTreeLabel(ShownText(Text(position)), finisher),
                                        parent ? Hti(parent) : TVI_ROOT, position,
                                        after ? Hti(after) : TVI_FIRST, open);
    }

    LPARAM selectedEntry = -1;  // of an item that went while selected

private:
    const std::string& Text(std::int32_t position) const {
        return dlg.journal[static_cast<std::size_t>(position)].text;
    }

    CMainDlg& dlg;
    std::optional<RedrawOff> listOff, treeOff;  // from a control's first change on
};

}  // namespace

void CMainDlg::ShowTouched(const EditChange& change) {
    LPARAM selected = -1;
    {
        DialogViews views(*this);
        ShowListChanges(views, journal, showUnknown, showCollated, change.entries);
        ShowTreeChanges(views, database, journal, showUnfinished, showFinished, change.entries,
                        change.quests);
        selected = views.selectedEntry;
    }
    if (IsJournalPosition(journal, selected))
        questTree.SelectItem(Hti(journal[static_cast<std::size_t>(selected)].treeItem));
    ShowDisplayedCount();
}
