// The quest tree: building it, its filters, its selection and its panes.
#include "app/main_dlg.h"

void CMainDlg::ShowQuests() {}

void CMainDlg::TreePrefsChanged() {}

QuestItem* CMainDlg::QuestItemFromHti(HTREEITEM, Quest**) {
    return nullptr;
}

QuestItem* CMainDlg::QuestItemFromSelection(Quest**) {
    return nullptr;
}

void CMainDlg::OnSelChangedTreeQuestTree(NMHDR*, LRESULT*) {}
