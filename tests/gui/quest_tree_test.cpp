// The quest tree as the player sees it: which quests stand in it, in what order and
// shape, which stand open, what its panes show, and how the two filters change it.
#include "tests/gui/sample_quests.h"

namespace {

using namespace sample;

class QuestTree : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        StartDialogWith(Journal(), Database());
    }

    // A rebuild leaves nothing selected and both panes empty.
    void ExpectNoSelection() {
        EXPECT_EQ(TreeSelection(), nullptr);
        EXPECT_EQ(Text(IDC_TREE_HEADING), "");
        EXPECT_EQ(Text(IDC_TREE_TEXT), "");
    }

    // Every entry links to the item that shows it, and that item's data is the entry.
    void ExpectLinksAgreeWithItems() {
        const std::vector<JournalEntry>& journal = Dialog().journal;
        int linked = 0;
        for (size_t i = 0; i < journal.size(); ++i) {
            auto item = static_cast<HTREEITEM>(journal[i].treeItem);
            if (!item) continue;
            ++linked;
            EXPECT_EQ(TreeItemData(item), static_cast<LPARAM>(i)) << journal[i].text;
            std::string label = TreeItemText(item);
            EXPECT_TRUE(label == journal[i].text || label == Finisher(journal[i].text)) << label;
        }
        EXPECT_EQ(linked, TreeCount());
    }
};

TEST_F(QuestTree, StartUpShowsUnfinishedQuestsOpenWithNothingSelected) {
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{kFerryman, "  " + kFirstBell}));
    EXPECT_EQ(TreeItemData(FindTreeItem(kFerryman)), 1);
    EXPECT_EQ(TreeItemData(FindTreeItem(kFirstBell)), 4);
    ExpectLinksAgreeWithItems();
    EXPECT_EQ(Dialog().journal[0].treeItem, nullptr) << "the finished quest is filtered out";

    // The tree has the focus, yet the player has chosen nothing in it.
    EXPECT_EQ(GetFocus(), Control(IDC_QUEST_TREE));
    ExpectNoSelection();
}

TEST_F(QuestTree, FiltersRebuildTheTreeInJournalOrder) {
    // Both: quests ordered by their earliest entry, whatever the database's order;
    // children in journal order; finished quests closed, finisher entries marked
    // wherever they stand.
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{
                               kStranger + " [+]",
                               "  " + kKeeperMissing,
                               "  " + Finisher(kKeeperFound),
                               kFerryman,
                               "  " + kFirstBell,
                               Finisher(kToll),
                           }));
    EXPECT_EQ(TreeItemData(FindTreeItem(kStranger)), 0);
    EXPECT_EQ(TreeItemData(FindTreeItem(Finisher(kKeeperFound))), 5);
    EXPECT_EQ(TreeItemData(FindTreeItem(Finisher(kToll))), 7);
    EXPECT_EQ(Dialog().journal[5].text, kKeeperFound) << "the mark is the label's only";
    ExpectLinksAgreeWithItems();
    ExpectNoSelection();

    // A selection fills the panes with the entry, without the mark.
    SelectTreeItem(FindTreeItem(Finisher(kKeeperFound)));
    EXPECT_EQ(Text(IDC_TREE_HEADING), "Day 4");
    EXPECT_EQ(Text(IDC_TREE_TEXT), kKeeperFound);
    SelectTreeItem(FindTreeItem(kFerryman));
    EXPECT_EQ(Text(IDC_TREE_HEADING), "Day 1");
    EXPECT_EQ(Text(IDC_TREE_TEXT), kFerryman);

    // Finished only: closed, and the selection and panes are gone.
    Click(IDC_SHOW_UNFINISHED);
    EXPECT_EQ(TreeLines(),
              (std::vector<std::string>{kStranger + " [+]", "  " + kKeeperMissing,
                                        "  " + Finisher(kKeeperFound), Finisher(kToll)}));
    ExpectLinksAgreeWithItems();
    ExpectNoSelection();

    // Neither: an empty tree that shows no entry.
    SelectTreeItem(FindTreeItem(Finisher(kToll)));
    EXPECT_EQ(Text(IDC_TREE_TEXT), kToll);
    Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeCount(), 0);
    for (const JournalEntry& entry : Dialog().journal) EXPECT_EQ(entry.treeItem, nullptr);
    ExpectNoSelection();
    EXPECT_FALSE(Dialog().showUnfinished);
    EXPECT_FALSE(Dialog().showFinished);

    // Back to unfinished only: as at start-up.
    Click(IDC_SHOW_UNFINISHED);
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{kFerryman, "  " + kFirstBell}));
    ExpectLinksAgreeWithItems();
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(QuestTree, ItemsMapBackToTheDatabaseAndStrayOnesAreReported) {
    Click(IDC_SHOW_FINISHED);
    Quest* quest = nullptr;
    EXPECT_EQ(Dialog().QuestItemFromSelection(&quest), nullptr);
    EXPECT_EQ(quest, nullptr);

    SelectTreeItem(FindTreeItem(kKeeperMissing));
    QuestItem* item = Dialog().QuestItemFromSelection(&quest);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, kKeeperMissing);
    EXPECT_EQ(quest, &Dialog().database.quests[1]);

    // An item that shows no entry of the journal is an internal error, said once.
    HTREEITEM stray = Dialog().questTree.InsertItem("stray", TVI_ROOT, kJournalSize);
    ExpectBox(kNoQuestItem);
    EXPECT_EQ(Dialog().QuestItemFromHti(stray, &quest), nullptr);
    EXPECT_EQ(quest, nullptr);
    ExpectBox(kBadTreeItem);
    SelectTreeItem(stray);
    EXPECT_EQ(Text(IDC_TREE_TEXT), kKeeperMissing) << "the panes keep what they showed";

    // An item linked to an entry with another text: the rebuild says so while it
    // inserts and while it opens quests, and goes on with the rest.
    Dialog().database.quests[2].items[0].journalIndex = 6;
    ExpectBox(kNoQuestItem);
    ExpectBox(kNoQuestItemInserted);
    ExpectBox(kNoQuestItem);
    ExpectBox(kNoQuestToExpand);
    Dialog().ShowQuests();
    EXPECT_EQ(TreeLines().size(), 7u);
    EXPECT_EQ(TreeLines()[5], kRain);
    EXPECT_EQ(TreeSelection(), nullptr);
}

TEST_F(QuestTree, EmptyJournalGivesAnEmptyTree) {
    WriteFile("journal.htm", "\r\n\r\n");
    Click(IDC_SHOW_FINISHED);
    SelectTreeItem(FindTreeItem(kStranger));
    Click(IDC_RELOAD_JOURNAL);
    EXPECT_EQ(TreeCount(), 0);
    ExpectNoSelection();
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
