#include "app/main_dlg.h"

#include "res/resource.h"

CMainDlg::CMainDlg(CWnd* parent)
    : CDialog(IDD_LOREBINDER_DIALOG, parent),
      appIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

// The window goes first: paneFont, released with the members, must not outlive the
// controls that use it. appIcon is a shared resource and is never destroyed.
CMainDlg::~CMainDlg() {
    DestroyWindow();
}

const MessageMapEntry CMainDlg::messageMap[] = {
    MapSysCommand(&CMainDlg::OnSysCommand),
    MapPaint(&CMainDlg::OnPaint),
    MapQueryDragIcon(&CMainDlg::OnQueryDragIcon),
    MapCommand(LBN_SELCHANGE, IDC_JOURNAL_LIST, &CMainDlg::OnSelChangeListItems),
    MapCommand(BN_CLICKED, IDC_START_NEW_QUEST, &CMainDlg::OnButtonAddNewQuest),
    MapCommand(BN_CLICKED, IDC_ADD_TO_QUEST, &CMainDlg::OnButtonAddToQuest),
    MapNotify(TVN_SELCHANGED, IDC_QUEST_TREE, &CMainDlg::OnSelChangedTreeQuestTree),
    MapCommand(BN_CLICKED, IDC_SHOW_UNKNOWN, &CMainDlg::ShowPrefsChanged),
    MapCommand(BN_CLICKED, IDC_SHOW_COLLATED, &CMainDlg::ShowPrefsChanged),
    MapHScroll(&CMainDlg::OnFontSliderScroll),
    MapDpiChanged(&CMainDlg::OnDpiChanged),
    MapClose(&CMainDlg::OnClose),
    MapCommand(BN_CLICKED, IDC_TOGGLE_FINISHER, &CMainDlg::OnButtonToggleFinisher),
    MapCommand(BN_CLICKED, IDC_REMOVE_QUEST_ITEM, &CMainDlg::OnButtonRemoveQuestItem),
    MapCommand(BN_CLICKED, IDC_SHOW_UNFINISHED, &CMainDlg::TreePrefsChanged),
    MapCommand(BN_CLICKED, IDC_SHOW_FINISHED, &CMainDlg::TreePrefsChanged),
    MapCommand(BN_CLICKED, IDC_RELOAD_JOURNAL, &CMainDlg::OnButtonReloadJournal),
    MapCommand(BN_CLICKED, IDC_FIND_NEXT, &CMainDlg::OnButtonFindNext),
    MapCommand(BN_CLICKED, IDC_HELP_BUTTON, &CMainDlg::OnButtonHelp),
    MapCommand(BN_CLICKED, IDC_FIND_PREVIOUS, &CMainDlg::OnButtonFindPrevious),
    MapCommand(BN_CLICKED, ID_OPTIONS_RESET_FINISHERS, &CMainDlg::OnResetAllFinishers),
    MapQueryEndSession(&CMainDlg::OnQueryEndSession),
    MapEndSession(&CMainDlg::OnEndSession),
    MapCommand(BN_CLICKED, ID_EDIT_UNDO, &CMainDlg::OnEditUndo),
    MapCommand(BN_CLICKED, ID_EDIT_REDO, &CMainDlg::OnEditRedo),
    MapTimer(&CMainDlg::OnTimer),
    MapActivate(&CMainDlg::OnActivate),
    MapCommand(BN_CLICKED, ID_OPTIONS_MERGE_QUESTS, &CMainDlg::OnMergeQuests),
    MapDropFiles(&CMainDlg::OnDropFiles),
};

MessageMap CMainDlg::GetMessageMap() const {
    return messageMap;
}

void CMainDlg::BindControls() {
    Bind(searchBox, IDC_SEARCH_BOX);
    Bind(finishedCheck, IDC_SHOW_FINISHED);
    Bind(unfinishedCheck, IDC_SHOW_UNFINISHED);
    Bind(fontSlider, IDC_FONT_SLIDER);
    Bind(unknownCheck, IDC_SHOW_UNKNOWN);
    Bind(collatedCheck, IDC_SHOW_COLLATED);
    Bind(treeHeadingPane, IDC_TREE_HEADING);
    Bind(questTree, IDC_QUEST_TREE);
    Bind(listHeadingPane, IDC_LIST_HEADING);
    Bind(treeTextPane, IDC_TREE_TEXT);
    Bind(listTextPane, IDC_LIST_TEXT);
    Bind(journalList, IDC_JOURNAL_LIST);
}

// Every message from the loop passes the undo and redo keys and the search keys first,
// then goes on to the dialog's own keyboard handling.
BOOL CMainDlg::PreTranslateMessage(MSG* message) {
    if (PreTranslateEditKeys(message)) return TRUE;
    PreTranslateKeyDown(message);
    return CDialog::PreTranslateMessage(message);
}

// Enter must never close the window: the accept command does nothing.
void CMainDlg::OnOK() {}
