// The journal list: its filters, its counter, its selection and its panes.
#include <algorithm>
#include <climits>
#include <optional>

#include "app/main_dlg.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "res/resource.h"
#include "views/kept_view_state_win.h"
#include "views/list_filter.h"
#include "views/redraw_off_win.h"
#include "views/shown_text_win.h"
#include "views/view_messages.h"

void CMainDlg::ShowPrefsChanged() {
    CWaitCursor wait;
    showUnknown = unknownCheck.GetCheck() == BST_CHECKED;
    showCollated = collatedCheck.GetCheck() == BST_CHECKED;
    const JournalListing listing = FilterJournal(journal, showUnknown, showCollated);

    {
        RedrawOff redrawOff(journalList);
        journalList.ResetContent();
        size_t bytes = 0;
        for (std::int32_t position : listing.rows) {
            const size_t length = journal[static_cast<size_t>(position)].text.size();
            bytes += std::min(length, kShownTextLimit + 3) + 1;  // as ShownText gives it
        }
        journalList.InitStorage(static_cast<int>(std::min<size_t>(listing.rows.size(), INT_MAX)),
                                bytes);
        for (std::int32_t position : listing.rows) {
            int row = journalList.AddString(ShownText(journal[static_cast<size_t>(position)].text));
            if (row < 0) break;  // the control is out of memory; the counter tells how far
            journalList.SetItemData(row, position);
        }
    }
    for (size_t i = 0; i < listing.badEntries.size(); ++i) AfxMessageBox(kBadListFilterMark);
    ShowDisplayedCount();
}

const JournalEntry* CMainDlg::EntryAt(LPARAM position, const char* badPosition) {
    if (IsJournalPosition(journal, position)) return &journal[static_cast<size_t>(position)];
    AfxMessageBox(badPosition);
    return nullptr;
}

int CMainDlg::ListRowOf(std::int32_t position) const {
    if (position < 0) return -1;
    const int rows = journalList.GetCount();
    const int row = RowFor(position, rows, [this](int r) { return journalList.GetItemData(r); });
    return row < rows && journalList.GetItemData(row) == position ? row : -1;
}

void CMainDlg::ShowDisplayedCount() {
    SetDlgItemText(IDC_DISPLAYED_COUNT,
                   DisplayedCountText(static_cast<size_t>(std::max(journalList.GetCount(), 0)),
                                      journal.size()));
}

void CMainDlg::OnSelChangeListItems() {
    const int row = journalList.GetCurSel();
    if (row == LB_ERR) {
        paneTexts.ShowEntry(listHeadingPane, listTextPane, nullptr);
        return;
    }
    if (row < 0 || row >= journalList.GetCount()) {
        AfxMessageBox(kBadListSelection);
        return;
    }
    const JournalEntry* entry = EntryAt(journalList.GetItemData(row), kBadListRow);
    if (!entry) return;
    paneTexts.ShowEntry(listHeadingPane, listTextPane, entry);
    if (entry->collated != 1) return;

    // The tree reports the new selection at once and fills its own panes.
    HTREEITEM item = static_cast<HTREEITEM>(entry->treeItem);
    questTree.SelectItem(item);
    if (!item) {
        // The quest is filtered out. The tree says nothing when it had no selection
        // to lose, so make sure its panes are empty as well.
        LRESULT result = 0;
        OnSelChangedTreeQuestTree(nullptr, &result);
    }
}

void CMainDlg::OnButtonReloadJournal() {
    ReloadJournal(JournalReload::Asked);
}

void CMainDlg::ReloadJournal(JournalReload why) {
    CWaitCursor wait;  // one for all the steps, so the hourglass doesn't flicker
    const bool asked = why == JournalReload::Asked;
    // Taken while the journal still holds the entries that the views show.
    std::optional<KeptViewState> kept;
    const GrowingJournal::Reading reading = ReadJournal(journalPath, why, [&] {
        if (!asked) kept.emplace(*this);
    });
    if (reading.way == GrowingJournal::Way::Appended) {
        ShowChange(editor.JournalGrew(reading.first));
    } else if (asked) {
        // Even when the journal couldn't be read: the views show the one kept.
        ShowPrefsChanged();
        TreePrefsChanged();
    } else if (kept) {
        kept->Rebuild();
    }
}
