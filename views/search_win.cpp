// Searching the listed journal entries for text, ignoring case by the system code
// page's rules.
#include <string>

#include "app/main_dlg.h"
#include "framework/code_page.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"
#include "views/search_steps.h"
#include "views/view_messages.h"

namespace {

// The text in lower case, by the system code page's rules. Double-byte characters stay
// whole. Some systems report a failure for a text that ends in half a double-byte
// character, after lowering all of it but that half byte; what they did is kept.
std::string LowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// How many positions the edit box counts in its whole text.
int PositionCount(const CEdit& box) {
    int lastLine = box.GetLineCount() - 1;
    int lastLineStart = box.LineIndex(lastLine < 0 ? 0 : lastLine);
    if (lastLineStart < 0) return 0;
    return lastLineStart + box.LineLength(lastLineStart);
}

}  // namespace

void CMainDlg::FindJournalEntry(int direction) {
    const int rowCount = journalList.GetCount();
    if (rowCount <= 0) return;

    std::string searchText = searchBox.GetWindowText();
    if (searchText.empty()) {
        AfxMessageBox(kEmptySearchMessage);
        return;
    }
    const std::string lowered = LowerCase(searchText);

    CWaitCursor wait;  // every listed entry may be looked at

    std::optional<int> found =
        FindMatchingRow(rowCount, journalList.GetCurSel(), direction, [&](int row) {
            LPARAM entry = journalList.GetItemData(row);
            if (!IsJournalPosition(journal, entry)) return false;
            return ContainsText(LowerCase(journal[entry].text), lowered, IsLeadByte);
        });
    if (!found) {
        AfxMessageBox(Utf8FromSystemCodePage(NotFoundMessage(lowered)));
        return;
    }
    journalList.SetCurSel(*found);
    OnSelChangeListItems();
}

void CMainDlg::OnButtonFindNext() {
    FindJournalEntry(1);
}

void CMainDlg::OnButtonFindPrevious() {
    FindJournalEntry(-1);
}

// F3 searches for the text highlighted in a text pane, the one under the tree first;
// Enter in the search box searches forward. Either way the key goes on to the
// dialog's own handling afterwards, where Enter does nothing.
void CMainDlg::PreTranslateKeyDown(MSG* message) {
    if (message->message != WM_KEYDOWN) return;

    if (message->wParam == VK_F3) {
        for (CEdit* pane : {&treeTextPane, &listTextPane}) {
            int start = 0, end = 0;
            pane->GetSel(start, end);
            if (start < 0 || end <= start) continue;
            searchBox.SetWindowText(
                TextBetween(pane->GetWindowText(), start, end, PositionCount(*pane), IsLeadByte));
            FindJournalEntry(1);
            return;
        }
    } else if (message->wParam == VK_RETURN && message->hwnd == searchBox.m_hWnd) {
        FindJournalEntry(1);
    }
}
