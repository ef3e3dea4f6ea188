// The commands that change the quest database.
#include "app/main_dlg.h"

void CMainDlg::OnButtonAddNewQuest() {}

void CMainDlg::OnButtonAddToQuest() {}

void CMainDlg::OnButtonRemoveQuestItem() {}

void CMainDlg::OnButtonToggleFinisher() {}

void CMainDlg::OnResetAllFinishers() {}
