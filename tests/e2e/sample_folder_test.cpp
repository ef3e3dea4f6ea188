// The sample folder as a player first sees it: which quests and entries the
// views show, what the filters add, and what picking an entry shows.
#include <sstream>
#include <string>
#include <vector>

#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using SampleFolder = BlackBoxTest;

// The first words of a label: enough to tell the sample's entries apart and
// short enough to read in a failure.
std::string FirstWords(const std::string& label, int count = 5) {
    std::istringstream words(label);
    std::string word, result;
    for (int i = 0; i < count && words >> word; ++i) result += (i ? " " : "") + word;
    return result;
}

// One line per tree item: "-" before an expanded quest, "+" before a closed
// one; entries under a quest are indented.
std::string Outline(const std::vector<TreeNode>& tree) {
    std::string outline;
    for (const TreeNode& quest : tree) {
        const char* mark = quest.children.empty() ? "  " : quest.expanded ? "- " : "+ ";
        outline += mark + FirstWords(quest.label) + "\n";
        for (const TreeNode& entry : quest.children)
            outline += "    " + FirstWords(entry.label) + "\n";
    }
    return outline;
}

std::string Outline(const std::vector<std::string>& rows) {
    std::string outline;
    for (const std::string& row : rows) outline += FirstWords(row) + "\n";
    return outline;
}

TEST_F(SampleFolder, ShowsTheUnfinishedQuestsAndTheEntriesNoQuestHolds) {
    CopySample({"journal.htm", "quests.lbd"});
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the sample without a message");

    EXPECT_TRUE(main.IsChecked(IDC_SHOW_UNKNOWN));
    EXPECT_FALSE(main.IsChecked(IDC_SHOW_COLLATED));
    EXPECT_TRUE(main.IsChecked(IDC_SHOW_UNFINISHED));
    EXPECT_FALSE(main.IsChecked(IDC_SHOW_FINISHED));
    EXPECT_EQ(main.FocusedControlId(), IDC_QUEST_TREE);

    // Unfinished quests only, in the order the player met them, open. The
    // abbey's finisher isn't in this journal, so that quest is unfinished.
    EXPECT_EQ(Outline(main.Tree(IDC_QUEST_TREE)),
              "- From the quay I saw\n"
              "    An old shepherd says the\n"
              "    I climbed Kestrel Tor at\n"
              "- Sister Ilse of the chapel\n"
              "    At low tide I waded\n"
              "    Inside the bell tower I\n"
              "    Sister Ilse read the words\n"
              "    Beneath the abbey I found\n"
              "  A sailor pressed a sealed\n"
              "- Wenna the herb-wife needs nightcap\n"
              "    I gathered a pouch of\n");
    EXPECT_EQ(Outline(main.ListRows(IDC_JOURNAL_LIST)),
              "The keeper of the Tarred\n"
              "I paid three silver marks\n"
              "Rain all day. I stayed\n"
              "A travelling tinker sold me\n"
              "I sold the wolf's pelt\n"
              "The first snow fell on\n");
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), -1);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 6/27");
}

TEST_F(SampleFolder, FiltersAddFinishedQuestsClosedAndEveryEntry) {
    CopySample({"journal.htm", "quests.lbd"});
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the sample");

    main.Click(IDC_SHOW_FINISHED);
    app.Snapshot("finished quests added", main.Handle());
    EXPECT_EQ(Outline(main.Tree(IDC_QUEST_TREE)),
              "+ I arrived at Saltgate on\n"
              "    A dockhand named Tobin Reed\n"
              "    The customs house was locked,\n"
              "    FINISHER: The ledger lay under\n"
              "- From the quay I saw\n"
              "    An old shepherd says the\n"
              "    I climbed Kestrel Tor at\n"
              "+ Old Garrick the smith has\n"
              "    FINISHER: I found Garrick's hammer\n"
              "- Sister Ilse of the chapel\n"
              "    At low tide I waded\n"
              "    Inside the bell tower I\n"
              "    Sister Ilse read the words\n"
              "    Beneath the abbey I found\n"
              "+ A smuggler called Corvin Hale\n"
              "    The Lantern Guild read Corvin's\n"
              "    FINISHER: I cut the rope\n"
              "  A sailor pressed a sealed\n"
              "  FINISHER: I paid the ferryman's\n"
              "- Wenna the herb-wife needs nightcap\n"
              "    I gathered a pouch of\n");

    main.Click(IDC_SHOW_UNFINISHED);
    EXPECT_EQ(main.Tree(IDC_QUEST_TREE).size(), 4u) << "the four finished quests alone";

    main.Click(IDC_SHOW_COLLATED);
    app.Snapshot("every entry listed", main.Handle());
    std::vector<std::string> rows = main.ListRows(IDC_JOURNAL_LIST);
    ASSERT_EQ(rows.size(), 27u);
    EXPECT_EQ(FirstWords(rows[0]), "I arrived at Saltgate on");
    EXPECT_EQ(FirstWords(rows[1]), "The keeper of the Tarred") << "in journal order, mixed";
    EXPECT_EQ(FirstWords(rows[26]), "The first snow fell on");
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 27/27");

    main.Click(IDC_SHOW_UNKNOWN);
    EXPECT_EQ(main.ListRows(IDC_JOURNAL_LIST).size(), 21u);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 21/27");
}

TEST_F(SampleFolder, PickingAnEntryShowsItUnderTheListAndInTheTree) {
    CopySample({"journal.htm", "quests.lbd"});
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the sample");
    main.Click(IDC_SHOW_COLLATED);

    // Row 14 is the shepherd's tale, a later entry of the Kestrel Tor quest.
    main.ClickListRow(IDC_JOURNAL_LIST, 14);
    app.Snapshot("the shepherd's tale picked", main.Handle());
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), 14);
    EXPECT_EQ(main.Text(IDC_LIST_HEADING), "10 Emberfall, Year 212");
    EXPECT_EQ(FirstWords(main.Text(IDC_LIST_TEXT)), "An old shepherd says the");
    EXPECT_EQ(main.Text(IDC_TREE_HEADING), "10 Emberfall, Year 212");
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), main.Text(IDC_LIST_TEXT));

    // Row 17's heading line carries no tag before its words: its heading is empty.
    main.ClickListRow(IDC_JOURNAL_LIST, 17);
    EXPECT_EQ(main.Text(IDC_LIST_HEADING), "");
    EXPECT_EQ(FirstWords(main.Text(IDC_LIST_TEXT)), "Inside the bell tower I");
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), main.Text(IDC_LIST_TEXT));

    // The ledger's quest is finished and so hidden: the tree lets go of its selection.
    main.ClickListRow(IDC_JOURNAL_LIST, 0);
    EXPECT_EQ(FirstWords(main.Text(IDC_LIST_TEXT)), "I arrived at Saltgate on");
    EXPECT_EQ(main.Text(IDC_TREE_HEADING), "");
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), "");
}

}  // namespace
}  // namespace e2e
