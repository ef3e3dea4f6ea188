// The journal list as the player uses it: its two filters and the counter, picking an
// entry and seeing it in both views, Reload Journal, and the journal read again unasked.
#include "tests/gui/sample_quests.h"

namespace {

using namespace sample;

class JournalList : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        StartDialogWith(Journal(), Database());
    }

    std::vector<LPARAM> RowData() const {
        std::vector<LPARAM> data;
        for (int row = 0; row < ListCount(); ++row) data.push_back(ListRowData(row));
        return data;
    }

    int RowOf(const std::string& text) const {
        std::vector<std::string> rows = ListRows();
        for (size_t row = 0; row < rows.size(); ++row)
            if (rows[row] == text) return static_cast<int>(row);
        ADD_FAILURE() << "no row " << text;
        return -1;
    }

    void ExpectTreePanes(const std::string& heading, const std::string& text) {
        EXPECT_EQ(Text(IDC_TREE_HEADING), heading);
        EXPECT_EQ(Text(IDC_TREE_TEXT), text);
    }
    void ExpectListPanes(const std::string& heading, const std::string& text) {
        EXPECT_EQ(Text(IDC_LIST_HEADING), heading);
        EXPECT_EQ(Text(IDC_LIST_TEXT), text);
    }
};

TEST_F(JournalList, EachFilterCombinationListsInJournalOrderWithItsCount) {
    // Unknown only, as at start-up.
    EXPECT_EQ(ListRows(), (std::vector<std::string>{kInn, kRain}));
    EXPECT_EQ(RowData(), (std::vector<LPARAM>{2, 6}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 2/8");
    EXPECT_EQ(ListSelection(), LB_ERR);

    // Both: the two kinds interleaved, as the journal has them.
    Click(IDC_SHOW_COLLATED);
    EXPECT_EQ(ListRows(), (std::vector<std::string>{kStranger, kFerryman, kInn, kKeeperMissing,
                                                    kFirstBell, kKeeperFound, kRain, kToll}));
    EXPECT_EQ(RowData(), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 8/8");

    // Collated only.
    Click(IDC_SHOW_UNKNOWN);
    EXPECT_EQ(RowData(), (std::vector<LPARAM>{0, 1, 3, 4, 5, 7}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 6/8");

    // Neither.
    Click(IDC_SHOW_COLLATED);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/8");
    EXPECT_FALSE(Dialog().showUnknown);
    EXPECT_FALSE(Dialog().showCollated);

    // An entry marked neither way is an internal error: said, and left out.
    Dialog().journal[2].collated = 2;
    ExpectBox(kBadListFilterMark);
    Click(IDC_SHOW_UNKNOWN);
    EXPECT_EQ(ListRows(), (std::vector<std::string>{kRain}));
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 1/8");
    Dialog().journal[2].collated = 0;
    Click(IDC_SHOW_UNKNOWN);

    // An empty journal, both on.
    Click(IDC_SHOW_UNKNOWN);
    Click(IDC_SHOW_COLLATED);
    WriteFile("journal.htm", "");
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 0/0");
}

TEST_F(JournalList, PickingAnEntryShowsItInBothViews) {
    Click(IDC_SHOW_COLLATED);
    SelectTreeItem(FindTreeItem(kFirstBell));
    ExpectTreePanes("Day 3", kFirstBell);

    // An entry of no quest: the list's panes only; the tree keeps its selection.
    HTREEITEM treeBefore = TreeSelection();
    SelectListRow(RowOf(kInn));
    ExpectListPanes("Day 2", kInn);
    EXPECT_EQ(TreeSelection(), treeBefore);
    ExpectTreePanes("Day 3", kFirstBell);

    // An entry of a shown quest: the tree selects it and shows it too.
    SelectListRow(RowOf(kFerryman));
    ExpectListPanes("Day 1", kFerryman);
    EXPECT_EQ(TreeSelection(), FindTreeItem(kFerryman));
    ExpectTreePanes("Day 1", kFerryman);

    // An entry of a quest the tree filters out: the tree lets go of its selection.
    SelectListRow(RowOf(kKeeperFound));
    ExpectListPanes("Day 4", kKeeperFound);
    EXPECT_EQ(TreeSelection(), nullptr);
    ExpectTreePanes("", "");

    // With finished quests shown, the same entry opens its closed quest.
    Click(IDC_SHOW_FINISHED);
    ASSERT_EQ(TreeLines().front(), kStranger + " [+]");
    SelectListRow(RowOf(kKeeperFound));
    EXPECT_EQ(TreeSelection(), FindTreeItem(Finisher(kKeeperFound)));
    EXPECT_EQ(TreeLines().front(), kStranger) << "the quest opens to show its entry";
    ExpectTreePanes("Day 4", kKeeperFound);

    // No row at all: the list's panes empty.
    SelectListRow(-1);
    ExpectListPanes("", "");
    ExpectTreePanes("Day 4", kKeeperFound);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JournalList, FilterClickDropsTheSelectionButKeepsThePanes) {
    SelectListRow(RowOf(kRain));
    ExpectListPanes("Day 5", kRain);
    Click(IDC_SHOW_COLLATED);
    EXPECT_EQ(ListSelection(), LB_ERR);
    ExpectListPanes("Day 5", kRain);

    // A row whose data isn't an entry is an internal error; the panes stay.
    SendMessageA(Control(IDC_JOURNAL_LIST), LB_SETITEMDATA, 0, kJournalSize);
    ExpectBox(kBadListRow);
    SelectListRow(0);
    ExpectListPanes("Day 5", kRain);
}

TEST_F(JournalList, ReloadAfterTheJournalGrewRenumbersAndRebuildsBothViews) {
    Click(IDC_SHOW_COLLATED);
    SelectListRow(RowOf(kFirstBell));
    ExpectTreePanes("Day 3", kFirstBell);

    // The game has written an entry before the others and two after them; one of
    // those finishes the ferry quest.
    std::vector<TestEntry> grown = kEntries;
    grown.insert(grown.begin(), {"Day 0", "I arrived at the harbour."});
    grown.push_back({"Day 8", kBellsGiven});
    grown.push_back({"Day 8", "The ferry left at dawn."});
    WriteFile("journal.htm", JournalText(grown));
    Click(IDC_RELOAD_JOURNAL);

    ASSERT_EQ(Dialog().journal.size(), size_t(kJournalSize + 3));
    EXPECT_EQ(Dialog().database.FindItem(kFirstBell)->journalIndex, 5);
    EXPECT_EQ(Dialog().database.FindItem(kBellsGiven)->journalIndex, 9);
    EXPECT_EQ(RowData(), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(ListRows()[0], "I arrived at the harbour.");
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 11/11");
    EXPECT_EQ(ListSelection(), LB_ERR);

    // The ferry quest is finished now, so "Unfinished" alone shows nothing.
    EXPECT_EQ(TreeCount(), 0);
    EXPECT_EQ(TreeSelection(), nullptr);
    ExpectTreePanes("", "");
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{
                               kStranger + " [+]",
                               "  " + kKeeperMissing,
                               "  " + Finisher(kKeeperFound),
                               kFerryman + " [+]",
                               "  " + kFirstBell,
                               "  " + Finisher(kBellsGiven),
                               Finisher(kToll),
                           }));
    EXPECT_EQ(TreeItemData(FindTreeItem(kFerryman)), 2);
    EXPECT_EQ(TreeItemData(FindTreeItem(Finisher(kBellsGiven))), 9);

    // Picking an entry still finds it in the tree under its new number.
    SelectListRow(RowOf(kFirstBell));
    EXPECT_EQ(TreeSelection(), FindTreeItem(kFirstBell));
    ExpectTreePanes("Day 3", kFirstBell);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JournalList, ReloadWithTheJournalGoneRebuildsFromThePreviousOne) {
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_FINISHED);
    const std::vector<std::string> treeBefore = TreeLines();
    SelectListRow(RowOf(kToll));
    ExpectTreePanes("Day 6", kToll);

    RemoveFile("journal.htm");
    ExpectBox(JournalOpenFailedMessage(PathOf("journal.htm")));
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(ListCount(), kJournalSize);
    EXPECT_EQ(ListSelection(), LB_ERR);
    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 8/8");
    EXPECT_EQ(TreeLines(), treeBefore);
    EXPECT_EQ(TreeSelection(), nullptr);
    ExpectTreePanes("", "");
    ExpectListPanes("Day 6", kToll);
}

// The game wrote its journal anew and it was read without the player asking: the same
// entries stay selected in both views under their new numbers, the quests stay open or
// closed as the player left them, and nothing asks for a click. A journal that goes is
// told of once, however often it is looked for, and the views keep the one they show.
TEST_F(JournalList, JournalReadUnaskedMovesNothingAndTellsOfItsLossOnce) {
    Click(IDC_SHOW_COLLATED);
    Click(IDC_SHOW_FINISHED);
    SelectTreeItem(FindTreeItem(kKeeperMissing));  // opens the finished lighthouse quest
    SendMessageA(Control(IDC_QUEST_TREE), TVM_EXPAND, TVE_COLLAPSE,
                 reinterpret_cast<LPARAM>(FindTreeItem(kFerryman)));
    SelectListRow(RowOf(kInn));
    std::vector<TestEntry> rewritten = kEntries;
    rewritten.insert(rewritten.begin(), {"Day 0", "I arrived at the harbour."});
    rewritten.push_back({"Day 8", kOldMap});
    WriteFile("journal.htm", JournalText(rewritten));
    Dialog().ReloadJournal(CMainDlg::JournalReload::Automatic);

    EXPECT_EQ(Text(IDC_DISPLAYED_COUNT), "Displayed: 10/10");
    EXPECT_EQ(ListSelection(), RowOf(kInn));
    ExpectListPanes("Day 2", kInn);
    EXPECT_EQ(TreeSelection(), FindTreeItem(kKeeperMissing));
    ExpectTreePanes("Day 3", kKeeperMissing);
    const std::vector<std::string> tree = {
        kStranger,
        "  " + kKeeperMissing,
        "  " + Finisher(kKeeperFound),
        kFerryman + " [+]",
        "  " + kFirstBell,
        Finisher(kToll),
        kOldMap,
    };
    EXPECT_EQ(TreeLines(), tree);
    EXPECT_TRUE(Boxes().empty());

    RemoveFile("journal.htm");
    ExpectBox(JournalOpenFailedMessage(PathOf("journal.htm")));
    Dialog().ReloadJournal(CMainDlg::JournalReload::Automatic);
    Dialog().ReloadJournal(CMainDlg::JournalReload::Automatic);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(ListSelection(), RowOf(kInn));
    EXPECT_EQ(TreeLines(), tree);
}

}  // namespace
