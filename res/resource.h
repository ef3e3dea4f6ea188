// Identifiers of Lorebinder's resources and of the controls of its dialogs.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_LOREBINDER_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_HELP_DIALOG 132
#define IDR_MAIN_MENU 133

// System-menu command of the About item. The platform reserves the four low bits.
#define IDM_ABOUTBOX 0x0010

// Main dialog.
#define IDC_QUEST_TREE 1000
#define IDC_JOURNAL_LIST 1002
#define IDC_TREE_TEXT 1003
#define IDC_LIST_TEXT 1004
#define IDC_LIST_HEADING 1005
#define IDC_START_NEW_QUEST 1006
#define IDC_ADD_TO_QUEST 1007
#define IDC_TOGGLE_FINISHER 1008
#define IDC_TREE_HEADING 1009
#define IDC_SHOW_UNKNOWN 1010
#define IDC_REMOVE_QUEST_ITEM 1011
#define IDC_SHOW_COLLATED 1012
#define IDC_FONT_SLIDER 1013
#define IDC_SHOW_FINISHED 1015
#define IDC_SHOW_UNFINISHED 1016
#define IDC_HELP_BUTTON 1017
#define IDC_RELOAD_JOURNAL 1018
#define IDC_SEARCH_BOX 1020
#define IDC_FIND_NEXT 1021
#define IDC_DISPLAYED_COUNT 1023
#define IDC_FIND_PREVIOUS 1024

// Help dialog.
#define IDC_HELP_OK 1017
#define IDC_HELP_TEXT 1024

// Menu bar: Options, Edit.
#define ID_OPTIONS_RESET_FINISHERS 32771
#define ID_EDIT_UNDO 32772
#define ID_EDIT_REDO 32773
#define ID_OPTIONS_MERGE_QUESTS 32774

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
