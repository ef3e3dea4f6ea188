// The quest tree: building it, its filters, its selection and its panes.
#include <tuple>
#include <vector>

#include "app/main_dlg.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "views/quest_groups.h"
#include "views/redraw_off_win.h"
#include "views/shown_text_win.h"
#include "views/view_messages.h"

namespace {

// Nothing of the tree is painted while this lives. Released on the way out of an
// abandoned rebuild too: the lock is the desktop's one, and a window left locked
// never paints again.
class WindowUpdateLock {
public:
    explicit WindowUpdateLock(CWnd& window) { window.LockWindowUpdate(); }
    ~WindowUpdateLock() { CWnd::UnlockWindowUpdate(); }
    WindowUpdateLock(const WindowUpdateLock&) = delete;
    WindowUpdateLock& operator=(const WindowUpdateLock&) = delete;
};

// The database item that holds the entry at `position`, and its quest: the first item
// in database order with the entry's text. Both null when there is none.
QuestItem* FindQuestItem(QuestDatabase& database, const std::vector<JournalEntry>& journal,
                         LPARAM position, Quest** questOut) {
    Quest* quest = nullptr;
    QuestItem* item = nullptr;
    if (IsJournalPosition(journal, position)) {
        // The lookups take a view: no copy of the text per tree item.
        const std::string& text = journal[static_cast<size_t>(position)].text;
        std::tie(quest, item) = database.FindQuestAndItem(text);
    }
    if (!quest || !item) {
        quest = nullptr;
        item = nullptr;
    }
    if (questOut) *questOut = quest;
    return item;
}

}  // namespace

void CMainDlg::ShowQuests() {
    CWaitCursor wait;
    // The selection goes and the panes are emptied twice below; they are set once.
    PaneBatch panes(paneTexts);
    const std::vector<QuestGroup> groups =
        GroupQuests(database, journal, showUnfinished, showFinished);
    for (JournalEntry& entry : journal) entry.treeItem = nullptr;

    {
        // Painting stays off through the expansions as well: each one repaints the
        // whole tree otherwise.
        RedrawOff redrawOff(questTree);
        HTREEITEM firstInserted = nullptr;
        {
            WindowUpdateLock lock(questTree);
            // Drop the selection while its item still matches the journal, so that the
            // panes hear of it now rather than from the deletion.
            questTree.SelectItem(nullptr);
            questTree.DeleteAllItems();
            for (const QuestGroup& group : groups) {
                HTREEITEM top = nullptr;
                for (const QuestGroupEntry& shown : group.entries) {
                    // The item is looked up before it is inserted, so that it goes in
                    // with its label and data at once: a rebuild sends the tree one
                    // message per entry, which is what keeps a long journal quick.
                    JournalEntry& entry = journal[static_cast<size_t>(shown.position)];
                    const QuestItem* questItem =
                        FindQuestItem(database, journal, shown.position, nullptr);
                    HTREEITEM item = questTree.InsertItem(
                        QuestTreeLabel(ShownText(entry.text), questItem && questItem->finisher),
                        top ? top : TVI_ROOT, shown.position);
                    if (!item) continue;  // the control is out of memory; show what fits
                    if (!top) top = item;
                    if (!firstInserted) firstInserted = item;
                    entry.treeItem = item;
                    if (!questItem) {
                        AfxMessageBox(kNoQuestItem);
                        AfxMessageBox(kNoQuestItemInserted);
                    }
                }
            }
        }

        // Unfinished quests stand open, finished ones closed.
        for (HTREEITEM top = firstInserted; top; top = questTree.GetNextSiblingItem(top)) {
            Quest* quest = nullptr;
            QuestItemFromHti(top, &quest);
            if (!quest) {
                AfxMessageBox(kNoQuestToExpand);
                questTree.Expand(top, TVE_COLLAPSE);
                continue;
            }
            questTree.Expand(top, quest->IsFinished() ? TVE_COLLAPSE : TVE_EXPAND);
        }
    }

    LRESULT result = 0;
    OnSelChangedTreeQuestTree(nullptr, &result);
}

void CMainDlg::TreePrefsChanged() {
    showUnfinished = unfinishedCheck.GetCheck() == BST_CHECKED;
    showFinished = finishedCheck.GetCheck() == BST_CHECKED;
    ShowQuests();
}

QuestItem* CMainDlg::QuestItemFromHti(HTREEITEM item, Quest** questOut) {
    QuestItem* questItem = FindQuestItem(database, journal, questTree.GetItemData(item), questOut);
    if (!questItem) AfxMessageBox(kNoQuestItem);
    return questItem;
}

QuestItem* CMainDlg::QuestItemFromSelection(Quest** questOut) {
    HTREEITEM selected = questTree.GetSelectedItem();
    if (!selected) {
        if (questOut) *questOut = nullptr;
        return nullptr;
    }
    return QuestItemFromHti(selected, questOut);
}

void CMainDlg::OnSelChangedTreeQuestTree(NMHDR*, LRESULT* result) {
    HTREEITEM selected = questTree.GetSelectedItem();
    if (!selected) {
        paneTexts.ShowEntry(treeHeadingPane, treeTextPane, nullptr);
        return;
    }
    const JournalEntry* entry = EntryAt(questTree.GetItemData(selected), kBadTreeItem);
    if (!entry) return;
    paneTexts.ShowEntry(treeHeadingPane, treeTextPane, entry);
    if (result) *result = 0;
}
