// Searching the listed journal entries for text.
#include "app/main_dlg.h"

void CMainDlg::FindJournalEntry(int) {}

void CMainDlg::OnButtonFindNext() {}

void CMainDlg::OnButtonFindPrevious() {}

void CMainDlg::PreTranslateKeyDown(MSG*) {}
