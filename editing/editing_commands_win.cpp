// The commands that change the quest database. Each picks its entry in the journal list
// or the quest tree, changes the database and the entry's collated mark, and rebuilds
// the views that show the change. A command that shows a message has changed nothing,
// and one that finds no selection ends without a word.
#include <optional>
#include <utility>

#include "app/main_dlg.h"
#include "editing/editing_messages.h"
#include "editing/quest_edits.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"

namespace {

// A row of the journal list and the journal position it shows.
struct ListPick {
    int row;
    std::int32_t position;
};

// The entry selected in the journal list, if one is selected and may join a quest.
// `badPosition` is the command's own message for a row that names no journal entry.
std::optional<ListPick> PickListEntry(CMainDlg& dlg, const char* badPosition) {
    const int row = dlg.journalList.GetCurSel();
    if (row < 0 || row >= dlg.journalList.GetCount()) return std::nullopt;
    const LPARAM position = dlg.journalList.GetItemData(row);
    if (!IsJournalPosition(dlg.journal, position)) {
        AfxMessageBox(badPosition);
        return std::nullopt;
    }
    if (dlg.journal[position].collated == 1) {
        AfxMessageBox(kAlreadyInQuest);
        return std::nullopt;
    }
    return ListPick{row, static_cast<std::int32_t>(position)};
}

// After an entry has joined the database: the tree shows it selected, and while only
// unknown entries are listed its row gives way to the next one.
void FinishAddition(CMainDlg& dlg, const ListPick& pick) {
    // The tree's panes empty with the rebuild and fill with the selection: one set each.
    PaneBatch panes(dlg.paneTexts);
    dlg.ShowQuests();
    // Null when the tree's filters hide the quest, which leaves the tree unselected.
    dlg.questTree.SelectItem(static_cast<HTREEITEM>(dlg.journal[pick.position].treeItem));
    if (dlg.showCollated) return;  // the row still belongs in the list and stays selected

    dlg.journalList.DeleteString(pick.row);
    dlg.journalList.SetCurSel(RowAfterDeletion(pick.row, dlg.journalList.GetCount()));
    dlg.OnSelChangeListItems();
    dlg.ShowDisplayedCount();
}

}  // namespace

void CMainDlg::OnButtonAddNewQuest() {
    const std::optional<ListPick> pick = PickListEntry(*this, kNewQuestBadRow);
    if (!pick) return;
    if (!StartQuestWith(database, journal, pick->position)) {
        AfxMessageBox(kNewQuestTextTaken);
        return;
    }
    RecordEdit(NewQuestStep(database));
    FinishAddition(*this, *pick);
    DatabaseChanged();
}

// The entry selected in the list joins the quest of the entry selected in the tree.
void CMainDlg::OnButtonAddToQuest() {
    const HTREEITEM treeItem = questTree.GetSelectedItem();
    if (!treeItem) return;
    const LPARAM treePosition = questTree.GetItemData(treeItem);
    Quest* quest = IsJournalPosition(journal, treePosition)
                       ? database.FindQuest(journal[treePosition].text)
                       : nullptr;
    if (!quest) {
        AfxMessageBox(kAddToQuestNoQuest);
        return;
    }

    const std::optional<ListPick> pick = PickListEntry(*this, kAddToQuestBadRow);
    if (!pick) return;
    AddEntryToQuest(database, *quest, journal, pick->position);
    RecordEdit(AddToQuestStep(database, *quest));
    FinishAddition(*this, *pick);
    DatabaseChanged();
}

void CMainDlg::OnButtonRemoveQuestItem() {
    Quest* quest = nullptr;
    QuestItem* item = QuestItemFromSelection(&quest);
    if (!item || !quest) return;
    const LPARAM position = questTree.GetItemData(questTree.GetSelectedItem());
    if (!IsJournalPosition(journal, position)) {
        AfxMessageBox(kRemoveBadTreeItem);
        return;
    }

    EditStep step = RemoveItemStep(database, *quest, *item);
    CWaitCursor wait;  // one for both rebuilds
    RemoveEntryFromQuest(database, journal, *quest, *item, static_cast<std::int32_t>(position));
    RecordEdit(std::move(step));
    ShowPrefsChanged();  // the entry may be listed again; the list loses its selection
    ShowQuests();
    ShowDisplayedCount();
    DatabaseChanged();
}

void CMainDlg::OnButtonToggleFinisher() {
    Quest* quest = nullptr;
    QuestItem* item = QuestItemFromSelection(&quest);
    if (!item) return;
    item->finisher = !item->finisher;
    RecordEdit(ToggleFinisherStep(database, *quest, *item));
    ShowQuests();  // the quest may move between the finished and the unfinished
    DatabaseChanged();
}

void CMainDlg::OnResetAllFinishers() {
    const int answer = AfxMessageBox(kResetFinishersQuestion, MB_YESNO);
    // Esc on the question answers IDCANCEL: anything but Yes keeps the flags.
    if (answer != IDYES) return;
    // A reset that finds no flag changes nothing, and leaves nothing to undo.
    if (std::optional<EditStep> step = ResetFinishersStep(database)) RecordEdit(std::move(*step));
    database.ClearFinishers();
    ShowQuests();
    DatabaseChanged();
}
