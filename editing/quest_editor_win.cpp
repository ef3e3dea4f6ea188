// The dialog's side of every change to the database: the views after a step is taken,
// undone or redone, the Edit menu and its keys.
#include "app/main_dlg.h"
#include "framework/wait_cursor.h"
#include "res/resource.h"
#include "views/list_filter.h"

namespace {

void ShowMenuItem(HMENU menu, UINT id, const std::string& text, bool enabled) {
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                text.c_str());
}

// A command's step, as the player took it: an entry that joined a quest is shown
// selected in the tree, and while only unknown entries are listed its row, gone now,
// gives way to the next one; a removal leaves the list unselected. `row` was selected
// before the step.
void ShowCommand(CMainDlg& dlg, const EditChange& change, int row) {
    switch (change.step->kind) {
        case EditKind::StartQuest:
        case EditKind::AddToQuest:
            // Null when the tree's filters hide the quest, which leaves the tree unselected.
            dlg.questTree.SelectItem(static_cast<HTREEITEM>(
                dlg.journal[static_cast<std::size_t>(change.entry)].treeItem));
            if (dlg.showCollated) return;  // the row still belongs in the list and stays selected
            dlg.journalList.SetCurSel(RowAfterDeletion(row, dlg.journalList.GetCount()));
            dlg.OnSelChangeListItems();
            return;
        case EditKind::RemoveItem:
        case EditKind::MergeQuests:
            dlg.journalList.SetCurSel(-1);
            return;
        case EditKind::ToggleFinisher:
        case EditKind::ResetFinishers:
            return;
    }
}

// An undone or redone step: the step's entry is selected wherever the views show it,
// the place to look at what changed.
void ShowUndoOrRedo(CMainDlg& dlg, const EditChange& change) {
    dlg.journalList.SetCurSel(dlg.ListRowOf(change.entry));
    // Fills the list's panes, or empties them, and selects a collated entry's tree item.
    dlg.OnSelChangeListItems();
    if (change.entry >= 0) {
        dlg.questTree.SelectItem(
            static_cast<HTREEITEM>(dlg.journal[static_cast<std::size_t>(change.entry)].treeItem));
    }
}

}  // namespace

void CMainDlg::Edit(EditStep step) {
    ShowChange(editor.Take(std::move(step)));
}

void CMainDlg::OnEditUndo() {
    ShowChange(editor.Undo());
}

void CMainDlg::OnEditRedo() {
    ShowChange(editor.Redo());
}

void CMainDlg::ShowChange(const std::optional<EditChange>& change) {
    if (!change) return;
    const bool grew = change->way == EditChange::Way::JournalGrew;
    {
        CWaitCursor wait;  // one for both views
        // The panes empty with the tree's selection and fill with the new one: one set each.
        PaneBatch panes(paneTexts);
        const int row = journalList.GetCurSel();
        // A step leaves the tree unselected but for its own entry; entries the game wrote
        // move nothing under the player's hands.
        if (!grew) questTree.SelectItem(nullptr);
        if (change->everyQuest) {
            if (!change->entries.empty()) ShowPrefsChanged();  // a merge collated entries
            ShowQuests();
        } else {
            ShowTouched(*change);
        }
        if (change->way == EditChange::Way::Done)
            ShowCommand(*this, *change, row);
        else if (!grew)
            ShowUndoOrRedo(*this, *change);
    }
    if (grew) return;  // the database holds what it held
    ShowEditMenu();
    DatabaseChanged(&*change);
}

void CMainDlg::ShowEditMenu() {
    HMENU menu = GetMenu();
    if (!menu) return;
    ShowMenuItem(menu, ID_EDIT_UNDO, UndoItemText(editor.NextUndo()), editor.NextUndo());
    ShowMenuItem(menu, ID_EDIT_REDO, RedoItemText(editor.NextRedo()), editor.NextRedo());
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
