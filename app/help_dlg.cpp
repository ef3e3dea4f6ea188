#include "app/help_dlg.h"

#include "app/main_dlg.h"
#include "res/resource.h"

namespace {

const char* const kHelpParagraphs[] = {
    "Lorebinder 1.0",

    "Lorebinder reads the journal.htm file that the game writes into its application "
    "folder and sorts each journal entry into the quest it belongs to. A quest counts as "
    "done as soon as any of its entries that appear in your journal has the \"finisher\" "
    "tag set in the quest database.",

    "To the quest database, a quest is simply a set of journal entries that may turn up in "
    "a journal. The quest tree shows each quest with its earliest journal entry as the top "
    "item and every later entry of that quest, in journal order, below it. A quest with a "
    "finisher entry counts as complete. To toggle an entry's finisher tag, select the "
    "entry in the quest tree and press \"Toggle Finisher\". To move an entry to another "
    "quest, select it in the tree and press \"Remove Quest Item\"; then select it in the "
    "journal list and either select an entry of the other quest in the tree and press "
    "\"Add to Quest\", or press \"Start New Quest\" to start a new quest with it. Every "
    "change can be undone with Ctrl+Z and made again with Ctrl+Y (or from the Edit menu) "
    "until Lorebinder closes.",

    "The database can only be edited for entries that your journal contains. To get a "
    "complete journal, enter the game's console command that fills the journal, then save "
    "the game (a temporary save will do): saving makes the game write the journal file. "
    "The journal follows the game: when the game writes new entries while Lorebinder is "
    "open, Lorebinder shows them by itself as soon as you turn back to it, or within a "
    "second or two while it stays on screen beside the game, and keeps the entries you "
    "picked and the quests you opened or closed. \"Reload Journal\" reads it again at "
    "once. When you leave "
    "Lorebinder, it asks whether to save the database. Each save keeps the previous "
    "quests.lbd as quests.lbd.bak: rename that back to quests.lbd to undo a save. Until "
    "you save, your changes are also kept in quests.lbd.unsaved, so that after a crash "
    "the next start can offer them back. If a save was cut off and left no quests.lbd, "
    "the next start offers the newest complete copy it left (quests.lbd.tmp or "
    "quests.lbd.bak) in its place.",

    "To build a database of your own, delete or rename the quests.lbd file and build a new "
    "one with Lorebinder. Be warned that the database that comes with Lorebinder is not "
    "perfect: there is no perfect way to group journal entries into quests, some quests "
    "marked as complete may still hold useful information, and some quests may count as "
    "unfinished although they can't be finished in your current game. Toggling the "
    "finisher tag helps in such cases, but the change is saved in the database and may "
    "then affect the journals of your later games.",

    "To take in a friend's quests, choose \"Merge Quests from Another Database...\" in the "
    "Options menu and pick their quest database, or drop their file onto the window. Their "
    "quests that you don't have are added after yours, and their new entries of a quest you "
    "share join your quest; a quest of theirs whose entries belong to two or more of your "
    "quests is left out, and the report names it. Your quests and finisher tags stay as they "
    "are. \"Undo Merge Quests\" in the Edit menu takes the whole merge back, and nothing is "
    "written until you save when you close.",

    "To search, type the text into the search box near the search buttons and press "
    "\"Find Next\" or \"Find Previous\" (Enter in the box searches forward). Starting "
    "after, not at, the highlighted journal entry, the next or previous displayed entry "
    "that contains the text, ignoring case, is highlighted. Text that you highlight in "
    "either of the two text panes at the bottom of the window can be searched for with F3. "
    "To search the whole journal, check both boxes above the journal list, \"Unknown\" and "
    "\"Collated\", so that the list shows every entry.",
};

}  // namespace

std::string HelpText() {
    std::string text;
    for (const char* paragraph : kHelpParagraphs) {
        if (!text.empty()) text += "\r\n\r\n";
        text += paragraph;
    }
    return text;
}

CHelpDlg::CHelpDlg(CWnd* parent) : CDialog(IDD_HELP_DIALOG, parent) {}

// The window goes before textFont, which its box uses.
CHelpDlg::~CHelpDlg() {
    DestroyWindow();
}

// "Ok" is not IDOK, so its click is mapped to the accept command by hand; Enter
// reaches it as the default button, Esc is the cancel command.
const MessageMapEntry CHelpDlg::messageMap[] = {
    MapCommand(BN_CLICKED, IDC_HELP_OK, &CHelpDlg::OnOK),
};

MessageMap CHelpDlg::GetMessageMap() const {
    return messageMap;
}

void CHelpDlg::BindControls() {
    Bind(helpTextBox, IDC_HELP_TEXT);
}

BOOL CHelpDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LOGFONTA description;
    if (helpFont &&
        GetObjectA(*helpFont, sizeof(description), &description) == sizeof(description) &&
        textFont.CreateFontIndirect(&description))
        helpTextBox.SetFont(textFont, TRUE);
    helpTextBox.SetWindowText(HelpText());
    return TRUE;  // the focus goes to the first control, "Ok"
}

// The help text shows in the panes' font of the moment.
void CMainDlg::OnButtonHelp() {
    CHelpDlg help;
    help.helpFont = &paneFont;
    help.DoModal();
}
