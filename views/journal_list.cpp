// The journal list: its filters, its counter, its selection and its panes.
#include "app/main_dlg.h"

void CMainDlg::ShowPrefsChanged() {}

void CMainDlg::ShowDisplayedCount() {}

void CMainDlg::OnSelChangeListItems() {}

void CMainDlg::OnButtonReloadJournal() {}
