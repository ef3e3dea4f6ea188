// The commands that change the quest database. Each makes its step from what the player
// picked in the journal list or the quest tree and hands it to Edit, which applies it
// and shows it. A command that shows a message has changed nothing, and one that finds
// no selection ends without a word.
#include <optional>
#include <utility>

#include "app/main_dlg.h"
#include "editing/editing_messages.h"
#include "framework/message_box.h"

namespace {

// The journal position of the entry selected in the list, if one is selected and may
// join a quest. `badPosition` is the command's own message for a row that names no
// journal entry.
std::optional<std::int32_t> PickListEntry(CMainDlg& dlg, const char* badPosition) {
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
    return static_cast<std::int32_t>(position);
}

}  // namespace

void CMainDlg::OnButtonAddNewQuest() {
    const std::optional<std::int32_t> position = PickListEntry(*this, kNewQuestBadRow);
    if (!position) return;
    std::optional<EditStep> step = StartQuestStep(database, journal, *position);
    if (!step) {
        AfxMessageBox(kNewQuestTextTaken);
        return;
    }
    Edit(std::move(*step));
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

    const std::optional<std::int32_t> position = PickListEntry(*this, kAddToQuestBadRow);
    if (!position) return;
    Edit(AddToQuestStep(database, *quest, journal, *position));
}

void CMainDlg::OnButtonRemoveQuestItem() {
    Quest* quest = nullptr;
    QuestItem* item = QuestItemFromSelection(&quest);
    if (!item || !quest) return;
    if (!IsJournalPosition(journal, questTree.GetItemData(questTree.GetSelectedItem()))) {
        AfxMessageBox(kRemoveBadTreeItem);
        return;
    }
    Edit(RemoveItemStep(database, *quest, *item));
}

void CMainDlg::OnButtonToggleFinisher() {
    Quest* quest = nullptr;
    QuestItem* item = QuestItemFromSelection(&quest);
    if (!item) return;
    Edit(ToggleFinisherStep(database, *quest, *item));
}

void CMainDlg::OnResetAllFinishers() {
    const int answer = AfxMessageBox(kResetFinishersQuestion, MB_YESNO);
    // Esc on the question answers IDCANCEL: anything but Yes keeps the flags.
    if (answer != IDYES) return;
    // A reset that finds no flag changes nothing, and leaves nothing to undo.
    if (std::optional<EditStep> step = ResetFinishersStep(database)) Edit(std::move(*step));
}
