// The editing commands as the player uses them: entries picked in the journal list and
// the quest tree, the buttons and the Options menu, and what the database, the views and
// quests.lbd show afterwards.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tests/gui/gui_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// Journal positions 0 to 6.
const std::vector<TestEntry> kJournal = {
    {"Day 1", "Heard of the ferry."}, {"Day 1", "Met the ferryman."}, {"Day 2", "Paid the toll."},
    {"Day 2", "Crossed the river."},  {"Day 3", "Lost my boots."},    {"Day 3", "Found new boots."},
    {"Day 4", "Spoke to the smith."},
};

// The smith's quest has a finisher the journal lacks, so it stands unfinished; the
// coal quest has no entry in the journal at all.
const std::vector<TestQuest> kQuests = {
    {{"Spoke to the smith.", false}, {"The forge is cold.", true}},
    {{"Heard of the ferry.", false}},
    {{"Bought coal.", true}},
};

class Editing : public MainDialogTest {
protected:
    void Start(const std::vector<TestQuest>& quests = kQuests) {
        WriteFile("journal.htm", JournalText(kJournal));
        WriteFile("quests.lbd", DatabaseImage(quests));
        StartDialog();
    }

    // The database in memory, in the form DatabaseImage takes.
    std::vector<TestQuest> Quests() {
        std::vector<TestQuest> quests;
        for (const Quest& quest : Dialog().database.quests) {
            quests.emplace_back();
            for (const QuestItem& item : quest.items)
                quests.back().emplace_back(item.text, item.finisher);
        }
        return quests;
    }

    // Everything a command may change: the database, the collated marks and the views.
    std::string State() {
        std::string state = DatabaseImage(Quests());
        for (const JournalEntry& entry : Dialog().journal) state += std::to_string(entry.collated);
        for (const std::string& line : TreeLines()) state += "|" + line;
        for (const std::string& row : ListRows()) state += "|" + row;
        return state + "|" + std::to_string(ListSelection()) + "|" + Text(IDC_DISPLAYED_COUNT);
    }

    void SelectTree(const std::string& label) {
        HTREEITEM item = FindTreeItem(label);
        ASSERT_TRUE(item) << label;
        SelectTreeItem(item);
    }

    void SetTreeItemData(HTREEITEM item, LPARAM data) {
        TVITEMA tvItem = {};
        tvItem.mask = TVIF_PARAM;
        tvItem.hItem = item;
        tvItem.lParam = data;
        SendMessageA(Control(IDC_QUEST_TREE), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvItem));
    }

    int32_t JournalIndexOf(const std::string& text) {
        QuestItem* item = Dialog().database.FindItem(text);
        return item ? item->journalIndex : -2;
    }

    void CloseAndSave() {
        ExpectBox(kSaveQuestion, IDYES);
        RequestClose();
        ASSERT_TRUE(Ended());
    }

    std::string Image() { return DatabaseImage(Quests()); }

    // Where the eye goes after a step: the tree's selected label and its panes, the
    // list's selected row and its panes, the counter.
    std::string Selected() {
        HTREEITEM item = TreeSelection();
        return "tree " + (item ? TreeItemText(item) : "-") + " / " + Text(IDC_TREE_HEADING) + " " +
               Text(IDC_TREE_TEXT) + "; list " + std::to_string(ListSelection()) + " / " +
               Text(IDC_LIST_HEADING) + " " + Text(IDC_LIST_TEXT) + "; " +
               Text(IDC_DISPLAYED_COUNT);
    }

    // Undoes the last step, which made `before` of the database, and redoes it; checks
    // the database and what is selected after each.
    void UndoAndRedo(const std::string& before, const std::string& selectedUndone,
                     const std::string& selectedRedone) {
        const std::string after = Image();
        MenuCommand(ID_EDIT_UNDO);
        EXPECT_EQ(Image(), before);
        EXPECT_EQ(Selected(), selectedUndone);
        MenuCommand(ID_EDIT_REDO);
        EXPECT_EQ(Image(), after);
        EXPECT_EQ(Selected(), selectedRedone);
    }

    // An Edit menu item as the menu shows it, "(grey)" after it when it is greyed.
    std::string MenuItem(UINT id) {
        HMENU menu = GetMenu(Window());
        char text[128] = "";
        GetMenuStringA(menu, id, text, sizeof(text), MF_BYCOMMAND);
        const bool grey = GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED;
        return std::string(text) + (grey ? " (grey)" : "");
    }
};

TEST_F(Editing, PlayerBuildsAQuestFinishesItAndSavesIt) {
    Start();
    ASSERT_EQ(ListRows(), (Lines{"Met the ferryman.", "Paid the toll.", "Crossed the river.",
                                 "Lost my boots.", "Found new boots."}));
    ASSERT_EQ(TreeLines(), (Lines{"Heard of the ferry.", "Spoke to the smith."}));

    // Start a quest from the first listed entry: it joins the tree selected, and its row
    // gives way to the next one.
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(Quests().back(), (TestQuest{{"Met the ferryman.", false}}));
    EXPECT_EQ(JournalIndexOf("Met the ferryman."), 1);
    EXPECT_EQ(Dialog().journal[1].collated, 1);
    EXPECT_EQ(TreeLines(),
              (Lines{"Heard of the ferry.", "Met the ferryman.", "Spoke to the smith."}));
    EXPECT_EQ(TreeSelection(), FindTreeItem("Met the ferryman."));
    EXPECT_EQ(Text(IDC_TREE_HEADING), "Day 1");
    EXPECT_EQ(Text(IDC_TREE_TEXT), "Met the ferryman.");
    EXPECT_EQ(ListRows().front(), "Paid the toll.");
    EXPECT_EQ(ListSelection(), 0);
    EXPECT_EQ(Text(IDC_LIST_HEADING), "Day 2");
    EXPECT_EQ(Text(IDC_LIST_TEXT), "Paid the toll.");
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 4/7");

    // Two more entries join it, each after the quest's others, whichever of its tree
    // items is selected.
    Click(IDC_ADD_TO_QUEST);
    EXPECT_EQ(TreeSelection(), FindTreeItem("Paid the toll."));
    Click(IDC_ADD_TO_QUEST);
    EXPECT_EQ(Quests().back(), (TestQuest{{"Met the ferryman.", false},
                                          {"Paid the toll.", false},
                                          {"Crossed the river.", false}}));
    EXPECT_EQ(JournalIndexOf("Crossed the river."), 3);
    EXPECT_EQ(TreeLines(), (Lines{"Heard of the ferry.", "Met the ferryman.", "  Paid the toll.",
                                  "  Crossed the river.", "Spoke to the smith."}));
    EXPECT_EQ(ListRows(), (Lines{"Lost my boots.", "Found new boots."}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 2/7");

    // A finisher takes the quest out of the unfinished tree; it shows, collapsed, under
    // "Finished".
    SelectTree("Crossed the river.");
    const Lines open = TreeLines();
    Click(IDC_TOGGLE_FINISHER);
    EXPECT_TRUE(Quests().back().back().second);
    EXPECT_EQ(TreeLines(), (Lines{"Heard of the ferry.", "Spoke to the smith."}));
    EXPECT_EQ(TreeSelection(), nullptr);
    EXPECT_EQ(Text(IDC_TREE_TEXT), "");
    Click(IDC_SHOW_FINISHED);
    const Lines closed = {"Heard of the ferry.", "Met the ferryman. [+]", "  Paid the toll.",
                          "  FINISHER: Crossed the river.", "Spoke to the smith."};
    EXPECT_EQ(TreeLines(), closed);

    // Toggling it back restores flag and tree; once more finishes the quest again.
    SelectTree("FINISHER: Crossed the river.");
    Click(IDC_TOGGLE_FINISHER);
    EXPECT_FALSE(Quests().back().back().second);
    EXPECT_EQ(TreeLines(), open);
    SelectTree("Crossed the river.");
    Click(IDC_TOGGLE_FINISHER);
    EXPECT_EQ(TreeLines(), closed);

    // Removing an item lists its entry again; the list is rebuilt without a selection.
    SelectTree("Paid the toll.");
    Click(IDC_REMOVE_QUEST_ITEM);
    EXPECT_EQ(Quests().back(),
              (TestQuest{{"Met the ferryman.", false}, {"Crossed the river.", true}}));
    EXPECT_EQ(Dialog().journal[2].collated, 0);
    EXPECT_EQ(ListRows(), (Lines{"Paid the toll.", "Lost my boots.", "Found new boots."}));
    EXPECT_EQ(ListSelection(), LB_ERR);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 3/7");
    EXPECT_EQ(TreeSelection(), nullptr);

    // Removing the only item of a quest removes the quest; the others keep their order.
    SelectTree("Heard of the ferry.");
    Click(IDC_REMOVE_QUEST_ITEM);
    const std::vector<TestQuest> edited = {
        {{"Spoke to the smith.", false}, {"The forge is cold.", true}},
        {{"Bought coal.", true}},
        {{"Met the ferryman.", false}, {"Crossed the river.", true}},
    };
    EXPECT_EQ(Quests(), edited);
    EXPECT_EQ(TreeLines(), (Lines{"Met the ferryman. [+]", "  FINISHER: Crossed the river.",
                                  "Spoke to the smith."}));
    EXPECT_EQ(ListRows().front(), "Heard of the ferry.");
    EXPECT_EQ(Boxes().size(), 0u) << "no step of the story shows a message";

    CloseAndSave();
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(edited));
}

TEST_F(Editing, ResettingFinishersAsksAndOnlyYesClearsEveryFlag) {
    Start({{{"Spoke to the smith.", false}, {"The forge is cold.", true}},
           {{"Heard of the ferry.", false}, {"Met the ferryman.", true}},
           {{"Bought coal.", true}}});
    Click(IDC_SHOW_FINISHED);
    const Lines tree = {"Heard of the ferry. [+]", "  FINISHER: Met the ferryman.",
                        "Spoke to the smith."};
    ASSERT_EQ(TreeLines(), tree);
    const std::string before = State();

    // No, and Esc (which answers such a box with Cancel), keep every flag.
    ExpectBox(kResetFinishersQuestion, IDNO);
    MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    ExpectBox(kResetFinishersQuestion, IDCANCEL);
    MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(Boxes().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));

    // Yes clears them all, those of entries the journal lacks too.
    ExpectBox(kResetFinishersQuestion, IDYES);
    MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    const std::vector<TestQuest> cleared = {
        {{"Spoke to the smith.", false}, {"The forge is cold.", false}},
        {{"Heard of the ferry.", false}, {"Met the ferryman.", false}},
        {{"Bought coal.", false}}};
    EXPECT_EQ(Quests(), cleared);
    EXPECT_EQ(TreeLines(),
              (Lines{"Heard of the ferry.", "  Met the ferryman.", "Spoke to the smith."}));

    CloseAndSave();
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(cleared));
}

TEST_F(Editing, CommandsWithoutTheirSelectionDoNothing) {
    Start();
    const std::string before = State();

    // Nothing selected anywhere.
    for (int button :
         {IDC_START_NEW_QUEST, IDC_ADD_TO_QUEST, IDC_REMOVE_QUEST_ITEM, IDC_TOGGLE_FINISHER})
        Click(button);
    // A list row but no tree item.
    SelectListRow(1);
    for (int button : {IDC_ADD_TO_QUEST, IDC_REMOVE_QUEST_ITEM, IDC_TOGGLE_FINISHER}) Click(button);
    // A tree item but no list row.
    SelectListRow(-1);
    SelectTree("Heard of the ferry.");
    Click(IDC_ADD_TO_QUEST);
    SelectTreeItem(nullptr);

    EXPECT_EQ(State(), before);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Editing, EveryMessageComesBeforeAnyChange) {
    Start();
    Click(IDC_SHOW_COLLATED);  // lists every entry: row r shows journal position r
    SelectTree("Spoke to the smith.");
    const std::string before = State();

    // A collated entry can't join a quest again.
    SelectListRow(0);
    ExpectBox(kAlreadyInQuest);
    Click(IDC_START_NEW_QUEST);
    ExpectBox(kAlreadyInQuest);
    Click(IDC_ADD_TO_QUEST);

    // A row whose data names no journal entry.
    SelectListRow(1);
    SendMessageA(Control(IDC_JOURNAL_LIST), LB_SETITEMDATA, 1, 99);
    ExpectBox(kNewQuestBadRow);
    Click(IDC_START_NEW_QUEST);
    ExpectBox(kAddToQuestBadRow);
    Click(IDC_ADD_TO_QUEST);
    SendMessageA(Control(IDC_JOURNAL_LIST), LB_SETITEMDATA, 1, 1);

    // An entry marked unknown whose text the database holds all the same.
    Dialog().journal[0].collated = 0;
    SelectListRow(0);
    ExpectBox(kNewQuestTextTaken);
    Click(IDC_START_NEW_QUEST);
    Dialog().journal[0].collated = 1;

    // A tree item that leads to no quest: its position out of range, or an entry no
    // item holds.
    HTREEITEM smith = FindTreeItem("Spoke to the smith.");
    SelectListRow(1);
    for (LPARAM data : {7, -1, 4}) {
        SetTreeItemData(smith, data);
        SelectTreeItem(nullptr);
        // The tree's own handler complains when the item is selected with bad data.
        if (data != 4) ExpectBox(kBadTreeItem);
        SelectTreeItem(smith);
        ExpectBox(kAddToQuestNoQuest);
        Click(IDC_ADD_TO_QUEST);
    }
    // Remove and Toggle learn of it from the lookup behind the tree.
    SetTreeItemData(smith, 7);
    ExpectBox(kNoQuestItem);
    Click(IDC_REMOVE_QUEST_ITEM);
    ExpectBox(kNoQuestItem);
    Click(IDC_TOGGLE_FINISHER);
    SetTreeItemData(smith, 6);

    for (const ShownBox& box : Boxes()) EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONEXCLAMATION));
    SelectListRow(-1);
    SelectTreeItem(smith);
    EXPECT_EQ(State(), before);
}

TEST_F(Editing, AddedRowsGiveWayUnlessCollatedEntriesAreListed) {
    Start();
    // The last row: the new last row is selected.
    SelectListRow(4);
    Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(ListSelection(), 3);
    EXPECT_EQ(Text(IDC_LIST_TEXT), "Lost my boots.");
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 4/7");

    // With "Collated" checked the row stays, selected, and the counter stands.
    Click(IDC_SHOW_COLLATED);
    SelectListRow(4);
    ASSERT_EQ(Text(IDC_LIST_TEXT), "Lost my boots.");
    Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(Dialog().journal[4].collated, 1);
    EXPECT_EQ(ListRows().size(), 7u);
    EXPECT_EQ(ListSelection(), 4);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 7/7");
    EXPECT_EQ(TreeSelection(), FindTreeItem("Lost my boots."));

    // A quest started while "Unfinished" is unchecked isn't shown, and nothing in the
    // tree is selected.
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_UNFINISHED);
    ASSERT_EQ(ListRows(), (Lines{"Met the ferryman.", "Paid the toll.", "Crossed the river."}));
    SelectListRow(1);
    Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(Quests().back(), (TestQuest{{"Paid the toll.", false}}));
    EXPECT_EQ(TreeCount(), 0);
    EXPECT_EQ(TreeSelection(), nullptr);
    EXPECT_EQ(ListSelection(), 1);

    // The only row: the list is left empty, with no selection and empty panes.
    Click(IDC_SHOW_UNFINISHED);
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(ListSelection(), LB_ERR);
    EXPECT_EQ(Text(IDC_LIST_HEADING), "");
    EXPECT_EQ(Text(IDC_LIST_TEXT), "");
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/7");
    EXPECT_TRUE(Boxes().empty());
}

// A file may hold one text in two items; only the first one gets the entry.
TEST_F(Editing, RemovingTheFirstOfTwoItemsWithOneTextKeepsTheEntryCollated) {
    Start({{{"Heard of the ferry.", false}, {"Met the ferryman.", false}},
           {{"Paid the toll.", false}, {"Met the ferryman.", true}}});
    ASSERT_EQ(TreeLines(), (Lines{"Heard of the ferry.", "  Met the ferryman.", "Paid the toll."}));

    SelectTree("Met the ferryman.");
    Click(IDC_REMOVE_QUEST_ITEM);
    EXPECT_EQ(Dialog().journal[1].collated, 1);
    EXPECT_EQ(Dialog().database.quests[1].items[1].journalIndex, 1);
    EXPECT_EQ(ListRows().front(), "Crossed the river.") << "the entry isn't unknown";
    // The other item shows it now, and its finisher flag counts.
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeLines(), (Lines{"Heard of the ferry.", "FINISHER: Met the ferryman. [+]",
                                  "  Paid the toll."}));

    // Removing that one too makes the entry unknown.
    SelectTree("FINISHER: Met the ferryman.");
    Click(IDC_REMOVE_QUEST_ITEM);
    EXPECT_EQ(Dialog().journal[1].collated, 0);
    EXPECT_EQ(ListRows().front(), "Met the ferryman.");
    EXPECT_TRUE(Boxes().empty());

    CloseAndSave();
    EXPECT_EQ(ReadFile("quests.lbd"),
              DatabaseImage({{{"Heard of the ferry.", false}}, {{"Paid the toll.", false}}}));
}

// Each command taken back and made again from the Edit menu: the database exactly as it
// was, the views rebuilt under the same filters, and the step's entry selected wherever
// they show it.
TEST_F(Editing, EveryCommandIsUndoneAndRedoneExactlyWithItsEntrySelected) {
    Start();
    const Lines tree0 = TreeLines(), list0 = ListRows();
    std::vector<std::string> images = {Image()};
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo\tCtrl+Z (grey)");
    EXPECT_EQ(MenuItem(ID_EDIT_REDO), "Redo\tCtrl+Y (grey)");

    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    images.push_back(Image());
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo Start New Quest\tCtrl+Z");
    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Dialog().journal[1].collated, 0);
    EXPECT_EQ(TreeLines(), tree0);
    EXPECT_EQ(ListRows(), list0);
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo\tCtrl+Z (grey)");
    EXPECT_EQ(MenuItem(ID_EDIT_REDO), "Redo Start New Quest\tCtrl+Y");
    MenuCommand(ID_EDIT_REDO);
    EXPECT_EQ(JournalIndexOf("Met the ferryman."), 1);
    EXPECT_EQ(MenuItem(ID_EDIT_REDO), "Redo\tCtrl+Y (grey)");
    UndoAndRedo(images[0], "tree - /  ; list 0 / Day 1 Met the ferryman.; Displayed: 5/7",
                "tree Met the ferryman. / Day 1 Met the ferryman.; list -1 /  ; Displayed: 4/7");

    // The tree's selection stands on the new quest: the next entry joins it.
    SelectListRow(0);
    Click(IDC_ADD_TO_QUEST);
    images.push_back(Image());
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo Add to Quest\tCtrl+Z");
    UndoAndRedo(images[1], "tree - /  ; list 0 / Day 2 Paid the toll.; Displayed: 4/7",
                "tree Paid the toll. / Day 2 Paid the toll.; list -1 /  ; Displayed: 3/7");

    // A finisher hides the quest from the unfinished tree; its undo shows it again.
    Click(IDC_TOGGLE_FINISHER);
    images.push_back(Image());
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo Toggle Finisher\tCtrl+Z");
    UndoAndRedo(images[2],
                "tree Paid the toll. / Day 2 Paid the toll.; list -1 /  ; Displayed: 3/7",
                "tree - /  ; list -1 /  ; Displayed: 3/7");

    // Every entry and quest shown: the entry is selected in both views, and the filters
    // stay as they are.
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_FINISHED);
    SelectTree("FINISHER: Paid the toll.");
    Click(IDC_REMOVE_QUEST_ITEM);
    images.push_back(Image());
    UndoAndRedo(images[3],
                "tree FINISHER: Paid the toll. / Day 2 Paid the toll.; list 2 / Day 2 Paid the "
                "toll.; Displayed: 7/7",
                "tree - /  ; list 2 / Day 2 Paid the toll.; Displayed: 7/7");
    EXPECT_TRUE(IsChecked(IDC_SHOW_UNKNOWN) && IsChecked(IDC_SHOW_COLLATED) &&
                IsChecked(IDC_SHOW_UNFINISHED) && IsChecked(IDC_SHOW_FINISHED));

    // A quest emptied comes back in its place, before the quest after it.
    SelectTree("Heard of the ferry.");
    Click(IDC_REMOVE_QUEST_ITEM);
    images.push_back(Image());
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo Remove Quest Item\tCtrl+Z");
    UndoAndRedo(images[4],
                "tree Heard of the ferry. / Day 1 Heard of the ferry.; list 0 / Day 1 Heard of "
                "the ferry.; Displayed: 7/7",
                "tree - /  ; list 0 / Day 1 Heard of the ferry.; Displayed: 7/7");

    // The reset keeps where the flags were, those of entries the journal lacks too; after
    // it nothing is selected.
    ExpectBox(kResetFinishersQuestion, IDYES);
    MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    images.push_back(Image());
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo Reset All Finishers\tCtrl+Z");
    UndoAndRedo(images[5], "tree - /  ; list -1 /  ; Displayed: 7/7",
                "tree - /  ; list -1 /  ; Displayed: 7/7");

    // All the way back and forth again; nothing is written meanwhile.
    for (std::size_t step = images.size() - 1; step > 0; --step) {
        MenuCommand(ID_EDIT_UNDO);
        EXPECT_EQ(Image(), images[step - 1]);
    }
    EXPECT_EQ(MenuItem(ID_EDIT_UNDO), "Undo\tCtrl+Z (grey)");
    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), images[0]);
    for (std::size_t step = 1; step < images.size(); ++step) {
        MenuCommand(ID_EDIT_REDO);
        EXPECT_EQ(Image(), images[step]);
    }
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(kQuests));
    EXPECT_EQ(Boxes().size(), 1u) << "only the reset's question";

    CloseAndSave();
    EXPECT_EQ(ReadFile("quests.lbd"), images.back());
}

// "Reload Journal" renumbers the entries, and the new journal has lost one entry and
// gained another: the steps still find their entries by text.
TEST_F(Editing, UndoAndRedoStayExactAcrossAReloadThatRenumbers) {
    Start();
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);  // "Met the ferryman."
    SelectListRow(2);
    Click(IDC_ADD_TO_QUEST);  // "Lost my boots."
    const std::string edited = Image();

    WriteFile("journal.htm", JournalText({{"Day 3", "Found new boots."},
                                          {"Day 4", "Spoke to the smith."},
                                          {"Day 3", "Lost my boots."},
                                          {"Day 2", "Crossed the river."},
                                          {"Day 2", "Paid the toll."},
                                          {"Day 1", "Heard of the ferry."},
                                          {"Day 5", "Bought coal."}}));
    Click(IDC_RELOAD_JOURNAL);
    ASSERT_EQ(JournalIndexOf("Lost my boots."), 2);

    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Dialog().journal[2].collated, 0);
    EXPECT_EQ(JournalIndexOf("Lost my boots."), -2) << "no item holds it";
    EXPECT_EQ(Selected(), "tree - /  ; list 1 / Day 3 Lost my boots.; Displayed: 4/7");
    // The journal no longer has the entry of this step; the database loses the quest.
    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), DatabaseImage(kQuests));
    EXPECT_EQ(Selected(), "tree - /  ; list -1 /  ; Displayed: 4/7");

    MenuCommand(ID_EDIT_REDO);
    MenuCommand(ID_EDIT_REDO);
    EXPECT_EQ(Image(), edited);
    EXPECT_EQ(JournalIndexOf("Met the ferryman."), -1);
    EXPECT_EQ(JournalIndexOf("Lost my boots."), 2);
    EXPECT_EQ(Dialog().journal[2].collated, 1);
    EXPECT_EQ(Selected(),
              "tree Lost my boots. / Day 3 Lost my boots.; list -1 /  ; Displayed: 3/7");
    EXPECT_TRUE(Boxes().empty());
}

// The keys work wherever the focus is, but Ctrl+Z in the search box undoes its typing.
TEST_F(Editing, CtrlZUndoesAndCtrlYOrCtrlShiftZRedoesButTheSearchBoxKeepsItsOwnUndo) {
    Start();
    const std::string image0 = Image();
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    const std::string image1 = Image();

    PressCtrlKeyOn(IDC_QUEST_TREE, 'Z');
    EXPECT_EQ(Image(), image0);
    PressCtrlKeyOn(IDC_JOURNAL_LIST, 'Y');
    EXPECT_EQ(Image(), image1);
    PressCtrlKeyOn(IDC_JOURNAL_LIST, 'Z');
    EXPECT_EQ(Image(), image0);
    PressCtrlKeyOn(IDC_QUEST_TREE, 'Z', true);
    EXPECT_EQ(Image(), image1);

    HWND search = Control(IDC_SEARCH_BOX);
    SendMessageA(search, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("ferry"));
    ASSERT_EQ(Text(IDC_SEARCH_BOX), "ferry");
    PressCtrlKeyOn(IDC_SEARCH_BOX, 'Z');
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "");
    EXPECT_EQ(Image(), image1);
    PressCtrlKeyOn(IDC_SEARCH_BOX, 'Z', true);
    EXPECT_EQ(Image(), image1) << "nothing to redo";
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
