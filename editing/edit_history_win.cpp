// Undo and redo of the editing commands: the Edit menu, its keys, and the views after a
// step is taken back or made again.
#include <algorithm>
#include <utility>

#include "app/main_dlg.h"
#include "res/resource.h"
#include "views/list_filter.h"

namespace {

void ShowMenuItem(HMENU menu, UINT id, const std::string& text, bool enabled) {
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                text.c_str());
}

// The list row that shows the entry at `position` under the list's filters; -1 when
// the list doesn't show it.
int ListRowOf(const CMainDlg& dlg, std::int32_t position) {
    if (position < 0) return -1;
    const std::vector<std::int32_t> rows =
        FilterJournal(dlg.journal, dlg.showUnknown, dlg.showCollated).rows;
    const auto found = std::lower_bound(rows.begin(), rows.end(), position);
    if (found == rows.end() || *found != position) return -1;
    const int row = static_cast<int>(found - rows.begin());
    // A list cut short by a lack of memory holds fewer rows than the filters ask for.
    if (row >= dlg.journalList.GetCount() || dlg.journalList.GetItemData(row) != position)
        return -1;
    return row;
}

}  // namespace

void CMainDlg::RecordEdit(EditStep step) {
    history.Record(std::move(step));
    ShowEditMenu();
}

void CMainDlg::OnEditUndo() {
    ShowAppliedStep(history.Undo(database, journal));
}

void CMainDlg::OnEditRedo() {
    ShowAppliedStep(history.Redo(database, journal));
}

// The views are rebuilt as the step's command rebuilds them, and the step's entry is
// selected wherever they show it: the place to look at what changed.
void CMainDlg::ShowAppliedStep(const EditStep* step) {
    if (!step) return;
    {
        PaneBatch panes(paneTexts);
        const bool entryMoved =
            step->kind != EditKind::ToggleFinisher && step->kind != EditKind::ResetFinishers;
        if (entryMoved) ShowPrefsChanged();  // the entry joins or leaves the listed ones
        ShowQuests();

        const std::int32_t position = EntryOf(*step, journal);
        journalList.SetCurSel(ListRowOf(*this, position));
        // Fills the list's panes, or empties them, and selects a collated entry's tree item.
        OnSelChangeListItems();
        if (position >= 0) {
            questTree.SelectItem(
                static_cast<HTREEITEM>(journal[static_cast<std::size_t>(position)].treeItem));
        }
    }
    ShowEditMenu();
    DatabaseChanged();
}

void CMainDlg::ShowEditMenu() {
    HMENU menu = GetMenu();
    if (!menu) return;
    ShowMenuItem(menu, ID_EDIT_UNDO, UndoItemText(history.NextUndo()), history.NextUndo());
    ShowMenuItem(menu, ID_EDIT_REDO, RedoItemText(history.NextRedo()), history.NextRedo());
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, wherever the focus is; but Ctrl+Z in the
// search box is the box's own undo of typing. With Alt down it is no shortcut: AltGr,
// which some keyboards type letters with, arrives as Ctrl+Alt.
bool CMainDlg::PreTranslateEditKeys(const MSG* message) {
    if (message->message != WM_KEYDOWN) return false;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (message->wParam == 'Y' || (message->wParam == 'Z' && shift)) {
        OnEditRedo();
        return true;
    }
    if (message->wParam == 'Z' && message->hwnd != searchBox.m_hWnd) {
        OnEditUndo();
        return true;
    }
    return false;
}
