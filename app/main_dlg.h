// CMainDlg: Lorebinder's main window, the one modal dialog the program runs. It owns
// the quest database, the journal, the fonts and the control objects for as long as
// the run lasts. Its operations live with their subsystems: journal/ reads the
// journal, views/ fills the tree, the list and the panes, searches and scales the
// font, editing/ changes the database; this folder starts and closes the dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/database_file_win.h"
#include "editing/quest_editor.h"
#include "framework/button.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/font.h"
#include "framework/icon.h"
#include "framework/list_box.h"
#include "framework/slider_ctrl.h"
#include "framework/tree_ctrl.h"
#include "journal/growing_journal.h"
#include "journal/journal_entry.h"
#include "journal/journal_follower.h"
#include "questdb/quest_database.h"
#include "views/pane_texts_win.h"

class CMainDlg : public CDialog {
public:
    explicit CMainDlg(CWnd* parent = nullptr);
    ~CMainDlg() override;

    QuestDatabase database;
    // Mirrors of the filter check boxes, read from them before each use.
    bool showUnknown = false, showCollated = false, showUnfinished = false, showFinished = false;
    std::vector<JournalEntry> journal;
    // The one way the database changes, and every change since start-up, to undo and redo.
    QuestEditor editor{database, journal};
    // journal.htm as far as it has been read, and when to read it again as the game writes.
    GrowingJournal growingJournal{journal};
    JournalFollower follower;
    LOGFONTA baseFont = {};
    CFont paneFont;
    // The window's dots per inch now, and when baseFont was taken: a window moved to a
    // screen of another scale has its text controls' font made anew for it.
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    UINT baseDpi = USER_DEFAULT_SCREEN_DPI;
    // UTF-8, as every path the program keeps: the folder may be named in any script.
    std::string databasePath;
    std::string journalPath;

    // The controls, bound in OnInitDialog.
    CEdit searchBox;          // 1020
    CButton finishedCheck;    // 1015 "Finished"
    CButton unfinishedCheck;  // 1016 "Unfinished"
    CSliderCtrl fontSlider;   // 1013
    CButton unknownCheck;     // 1010 "Unknown"
    CButton collatedCheck;    // 1012 "Collated"
    CEdit treeHeadingPane;    // 1009
    CTreeCtrl questTree;      // 1000
    CEdit listHeadingPane;    // 1005
    CEdit treeTextPane;       // 1003
    CEdit listTextPane;       // 1004
    CListBox journalList;     // 1002
    // The panes' texts go through here (views/pane_texts_win.h).
    PaneTexts paneTexts;

    HICON appIcon;
    // The caption's and the task bar's icons, in the sizes that fit the window's scale.
    CIcon bigIcon, smallIcon;

    // Journal (journal/read_journal_win.cpp). A read the player asked for (start-up and
    // Reload Journal) reads a last line without its line end and tells every problem; a
    // read that follows the game leaves that line for the next read and tells a problem
    // once. Says which entries are new; the journal is linked to the database but for
    // appended entries, which the caller links through the editor. `beforeRenumbering`
    // runs before a read from the start replaces the entries the views show.
    enum class JournalReload { Asked, Automatic };
    GrowingJournal::Reading ReadJournal(std::string path, JournalReload why = JournalReload::Asked,
                                        const std::function<void()>& beforeRenumbering = {});
    // What a look at the file sees, without reading it.
    static JournalFollower::Stamp StampOf(const std::string& path);

    // Following the game (journal/follow_journal_win.cpp): looks at journal.htm when the
    // window is activated and, on screen without the focus, at every tick of a timer; reads
    // it again once it has been still, when the window has nothing else to do.
    void StartFollowingJournal();
    void OnTimer(UINT_PTR id);
    void OnActivate(bool active);

    // Quest tree (views/quest_tree_win.cpp).
    void ShowQuests();
    void TreePrefsChanged();
    QuestItem* QuestItemFromHti(HTREEITEM item, Quest** questOut = nullptr);
    QuestItem* QuestItemFromSelection(Quest** questOut = nullptr);
    void OnSelChangedTreeQuestTree(NMHDR* notification, LRESULT* result);

    // Both views changed only where a step touched them (views/view_changes_win.cpp).
    void ShowTouched(const EditChange& change);

    // Journal list and its panes (views/journal_list_win.cpp).
    // The entry at `position`, a list row's or a tree item's data; when there is none,
    // says `badPosition` and gives null.
    const JournalEntry* EntryAt(LPARAM position, const char* badPosition);
    void ShowPrefsChanged();
    void ShowDisplayedCount();
    // The row that lists the entry at `position`, found by halves (rows list positions in
    // ascending order); -1 when the list doesn't show it.
    int ListRowOf(std::int32_t position) const;
    void OnSelChangeListItems();
    void OnButtonReloadJournal();
    // Reads the journal again and shows it: appended entries through the editor; a journal
    // read whole rebuilds both views, keeping what the player set in them when nobody asked.
    void ReloadJournal(JournalReload why);

    // Search (views/search_win.cpp).
    void FindJournalEntry(int direction);
    void OnButtonFindNext();
    void OnButtonFindPrevious();
    void PreTranslateKeyDown(MSG* message);

    // Font size (views/font_size_win.cpp).
    void ScaleFont(float factor);
    void OnFontSliderScroll(UINT code, UINT position, HWND control);
    void OnDpiChanged(UINT newDpi, const RECT* suggested);

    // Editing commands (editing/editing_commands_win.cpp).
    void OnButtonAddNewQuest();
    void OnButtonAddToQuest();
    void OnButtonRemoveQuestItem();
    void OnButtonToggleFinisher();
    void OnResetAllFinishers();
    // Merging another database's quests (editing/merge_quests_win.cpp): chosen in the
    // open-file dialog, or dropped onto the window.
    void OnMergeQuests();
    void OnDropFiles(HANDLE drop);
    void MergeQuestsFrom(const std::string& path);
    // Called once after every change to the database in memory: by ShowChange with
    // what the editor said the change touched; without it, every quest may have changed.
    void DatabaseChanged(const EditChange* change = nullptr);
    // Whether the database differs from what start-up read or the last save wrote.
    bool HasUnsavedEdits() const;

    // Every change, its undo and redo (editing/quest_editor_win.cpp). Edit applies a
    // command's step; ShowChange shows what a step touched and tells what follows every
    // change.
    void Edit(EditStep step);
    void OnEditUndo();
    void OnEditRedo();
    void ShowChange(const std::optional<EditChange>& change);
    void ShowEditMenu();
    bool PreTranslateEditKeys(const MSG* message);

    // Help (app/help_dlg.cpp), About (app/about_dlg.cpp) and the window's icon
    // (app/window_icon.cpp).
    void OnButtonHelp();
    void OnSysCommand(UINT command, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Start-up and closing (app/main_dlg_startup.cpp, app/main_dlg_close.cpp), and the
    // end of the session (app/unsaved_edits.cpp).
    void OnClose();
    BOOL OnQueryEndSession(UINT flags);
    void OnEndSession(BOOL ending, UINT flags);

protected:
    MessageMap GetMessageMap() const override;
    void BindControls() override;
    BOOL PreTranslateMessage(MSG* message) override;
    void OnIdle() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    static const MessageMapEntry messageMap[];

    void AppendAboutToSystemMenu();
    // Also when the window's scale changes.
    void ShowIcon();
    bool FindProgramDirectory(std::string& directory);
    // Start-up and closing: quests.lbd's life is databaseFile's to decide
    // (app/database_file.h); these show its questions and make its platform calls.
    void LoadDatabase(StartupRead& read);
    bool OfferLeftCopies();
    void OfferKeptEdits();
    // Runs the dialog's steps of a close, Esc or the session's end, from `step` to the
    // last one, which it returns.
    CloseStep TakeCloseSteps(CloseStep step);
    // Ends the run as the last step says, or lets it go on.
    void EndRunAs(CloseStep last);
    FileLook LookAtDatabase(std::optional<FileFingerprint>& fingerprint);
    bool SaveDatabase();
    // Writes what differs from the saved database to the kept-edits file, or removes the
    // file when nothing does; the session's end is held up only while edits are unsaved.
    void KeepUnsavedEdits();
    void RemoveKeptEdits();

    CDatabaseFile databaseFile;
};
