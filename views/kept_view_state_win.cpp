#include "views/kept_view_state_win.h"

#include "app/main_dlg.h"
#include "framework/wait_cursor.h"
#include "views/redraw_off_win.h"

namespace {

std::optional<std::string> TextAt(const std::vector<JournalEntry>& journal, LPARAM position) {
    if (!IsJournalPosition(journal, position)) return std::nullopt;
    return journal[static_cast<std::size_t>(position)].text;
}

// The entry with this text now; texts are distinct in the journal.
const JournalEntry* EntryWith(const std::vector<JournalEntry>& journal,
                              const std::optional<std::string>& text) {
    if (!text) return nullptr;
    for (const JournalEntry& entry : journal)
        if (entry.text == *text) return &entry;
    return nullptr;
}

// The quest the tree's top-level item shows, as its place in the database.
std::optional<std::size_t> QuestOf(CMainDlg& dlg, HTREEITEM top) {
    const std::optional<std::string> text = TextAt(dlg.journal, dlg.questTree.GetItemData(top));
    const Quest* quest = text ? dlg.database.FindQuest(*text) : nullptr;
    if (!quest) return std::nullopt;
    return static_cast<std::size_t>(quest - dlg.database.quests.data());
}

}  // namespace

KeptViewState::KeptViewState(CMainDlg& dlg) : dlg(dlg), questOpen(dlg.database.quests.size(), -1) {
    const int row = dlg.journalList.GetCurSel();
    if (row >= 0) listSelected = TextAt(dlg.journal, dlg.journalList.GetItemData(row));
    listTopRow = dlg.journalList.GetTopIndex();
    if (listTopRow >= 0 && listTopRow < dlg.journalList.GetCount())
        listTop = TextAt(dlg.journal, dlg.journalList.GetItemData(listTopRow));
    if (HTREEITEM selected = dlg.questTree.GetSelectedItem())
        treeSelected = TextAt(dlg.journal, dlg.questTree.GetItemData(selected));
    if (HTREEITEM first = dlg.questTree.GetFirstVisibleItem())
        treeTop = TextAt(dlg.journal, dlg.questTree.GetItemData(first));
    for (HTREEITEM top = dlg.questTree.GetRootItem(); top;
         top = dlg.questTree.GetNextSiblingItem(top)) {
        if (const std::optional<std::size_t> quest = QuestOf(dlg, top))
            questOpen[*quest] = dlg.questTree.IsExpanded(top) ? 1 : 0;
    }
}

void KeptViewState::Rebuild() {
    CWaitCursor wait;
    // The rebuilds empty the tree's panes and the selection fills them again: set once.
    PaneBatch panes(dlg.paneTexts);
    dlg.ShowPrefsChanged();
    dlg.ShowQuests();

    {
        RedrawOff redrawOff(dlg.questTree);
        for (HTREEITEM top = dlg.questTree.GetRootItem(); top;
             top = dlg.questTree.GetNextSiblingItem(top)) {
            const std::optional<std::size_t> quest = QuestOf(dlg, top);
            if (!quest || questOpen[*quest] < 0) continue;
            if ((questOpen[*quest] == 1) != dlg.questTree.IsExpanded(top))
                dlg.questTree.Expand(top, questOpen[*quest] == 1 ? TVE_EXPAND : TVE_COLLAPSE);
        }
    }
    // The tree's selection first: it may open the quest that holds it.
    const JournalEntry* treeEntry = EntryWith(dlg.journal, treeSelected);
    dlg.questTree.SelectItem(treeEntry ? static_cast<HTREEITEM>(treeEntry->treeItem) : nullptr);
    if (const JournalEntry* first = EntryWith(dlg.journal, treeTop); first && first->treeItem)
        dlg.questTree.SelectSetFirstVisible(static_cast<HTREEITEM>(first->treeItem));

    // The list's selection, without the tree following it: each keeps its own. Its panes
    // keep what they showed unless a row was selected, as after any refill.
    if (listSelected) {
        const JournalEntry* entry = EntryWith(dlg.journal, listSelected);
        const int row =
            entry ? dlg.ListRowOf(static_cast<std::int32_t>(entry - dlg.journal.data())) : -1;
        dlg.journalList.SetCurSel(row);
        dlg.paneTexts.ShowEntry(dlg.listHeadingPane, dlg.listTextPane, row >= 0 ? entry : nullptr);
    }
    const JournalEntry* top = EntryWith(dlg.journal, listTop);
    const int topRow =
        top ? dlg.ListRowOf(static_cast<std::int32_t>(top - dlg.journal.data())) : -1;
    dlg.journalList.SetTopIndex(topRow >= 0 ? topRow : listTopRow);
}
