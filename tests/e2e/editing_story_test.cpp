// A player edits the quest database of the real program: starts a quest, adds entries
// to it, clears every finisher flag, finishes the quest, removes entries, saves, and
// finds it all again when the program starts anew; merges a friend's quests and takes
// them back.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "black_box_test.h"
#include "editing/editing_messages.h"
#include "editing/merge_messages.h"
#include "res/resource.h"

namespace e2e {
namespace {

using EditingStory = BlackBoxTest;
using Lines = std::vector<std::string>;

const char kHeard[] = "Heard of the ferry.";
const char kMet[] = "Met the ferryman.";
const char kPaid[] = "Paid the toll.";
const char kCrossed[] = "Crossed the river.";
const char kLost[] = "Lost my boots.";
const char kFound[] = "Found new boots.";
const char kSmith[] = "Spoke to the smith.";
const char kForge[] = "The forge is cold.";
const char kCoal[] = "Bought coal.";

std::string Journal() {
    std::string journal;
    int day = 0;
    for (const char* text : {kHeard, kMet, kPaid, kCrossed, kLost, kFound, kSmith}) {
        journal += "<FONT COLOR=\"9F0000\">Day " + std::to_string(++day) + "</FONT><BR>\r\n";
        journal += std::string(text) + "<P>\r\n";
    }
    return journal;
}

// The tree as lines: children indented, " [+]" after a closed quest.
Lines TreeLines(const MainWindow& main) {
    Lines lines;
    for (const TreeNode& top : main.Tree(IDC_QUEST_TREE)) {
        bool closed = !top.children.empty() && !top.expanded;
        lines.push_back(top.label + (closed ? " [+]" : ""));
        for (const TreeNode& child : top.children) lines.push_back("  " + child.label);
    }
    return lines;
}

TEST_F(EditingStory, QuestsBuiltInTheWindowAreSavedAndFoundAgain) {
    folder->Write("journal.htm", Journal());
    // The ferry rumour is finished by its own entry; the smith's finisher and the whole
    // coal quest are missing from the journal.
    folder->Write(
        "quests.lbd",
        QuestsImage({{{kSmith, false}, {kForge, true}}, {{kHeard, true}}, {{kCoal, true}}}));
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the journal without a message");
    ASSERT_EQ(TreeLines(main), (Lines{kSmith}));
    ASSERT_EQ(main.ListRows(IDC_JOURNAL_LIST), (Lines{kMet, kPaid, kCrossed, kLost, kFound}));

    // A new quest from the first unknown entry; its row makes way for the next.
    main.ClickListRow(IDC_JOURNAL_LIST, 0);
    main.Click(IDC_START_NEW_QUEST);
    EXPECT_EQ(TreeLines(main), (Lines{kMet, kSmith}));
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), kMet) << "the new quest is selected";
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), 0);
    EXPECT_EQ(main.Text(IDC_LIST_TEXT), kPaid);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 4/7");

    // Two more entries join the quest selected in the tree.
    main.ClickListRow(IDC_JOURNAL_LIST, 0);
    main.Click(IDC_ADD_TO_QUEST);
    main.ClickListRow(IDC_JOURNAL_LIST, 0);
    main.Click(IDC_ADD_TO_QUEST);
    app.Snapshot("a quest of three entries", main.Handle());
    EXPECT_EQ(TreeLines(main),
              (Lines{kMet, std::string("  ") + kPaid, std::string("  ") + kCrossed, kSmith}));
    EXPECT_EQ(main.ListRows(IDC_JOURNAL_LIST), (Lines{kLost, kFound}));

    // Clearing every finisher flag asks first; only Yes clears them, and the ferry
    // rumour, no longer finished, joins the tree.
    main.MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    MessageBoxWindow question = app.ExpectMessageBox("ask before clearing the finishers");
    EXPECT_EQ(question.Caption(), "lorebinder");
    EXPECT_EQ(question.Text(), kResetFinishersQuestion);
    EXPECT_TRUE(question.HasButton(IDYES));
    question.Press(IDNO, "answer No");
    EXPECT_EQ(TreeLines(main).size(), 4u);
    main.MenuCommand(ID_OPTIONS_RESET_FINISHERS);
    app.ExpectMessageBox("ask again").Press(IDYES, "answer Yes");
    EXPECT_EQ(TreeLines(main), (Lines{kHeard, kMet, std::string("  ") + kPaid,
                                      std::string("  ") + kCrossed, kSmith}));

    // A finisher moves the quest out of the unfinished ones; under "Finished" it is closed.
    main.SelectTreeItem(IDC_QUEST_TREE, kCrossed);
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), kCrossed);
    main.Click(IDC_TOGGLE_FINISHER);
    EXPECT_EQ(TreeLines(main), (Lines{kHeard, kSmith}));
    main.Click(IDC_SHOW_FINISHED);
    app.Snapshot("the quest finished", main.Handle());
    EXPECT_EQ(TreeLines(main), (Lines{kHeard, std::string(kMet) + " [+]", std::string("  ") + kPaid,
                                      std::string("  FINISHER: ") + kCrossed, kSmith}));

    // Removing an entry lists it again; removing a quest's only entry ends the quest.
    main.SelectTreeItem(IDC_QUEST_TREE, kPaid);
    main.Click(IDC_REMOVE_QUEST_ITEM);
    main.SelectTreeItem(IDC_QUEST_TREE, kHeard);
    main.Click(IDC_REMOVE_QUEST_ITEM);
    const Lines finalTree = {std::string(kMet) + " [+]", std::string("  FINISHER: ") + kCrossed,
                             kSmith};
    const Lines finalList = {kHeard, kPaid, kLost, kFound};
    EXPECT_EQ(TreeLines(main), finalTree);
    EXPECT_EQ(main.ListRows(IDC_JOURNAL_LIST), finalList);
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), -1);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), "Displayed: 4/7");
    EXPECT_FALSE(app.FindMessageBox()) << "no step of the story shows a message";

    main.Close();
    app.ExpectMessageBox("ask whether to save").Press(IDYES, "save");
    EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
    const std::string saved = QuestsImage(
        {{{kSmith, false}, {kForge, false}}, {{kCoal, false}}, {{kMet, false}, {kCrossed, true}}});
    EXPECT_EQ(folder->Read("quests.lbd"), saved);

    // The next start shows the same quests and entries.
    Program& again = StartProgram();
    MainWindow reopened = again.ExpectMainWindow("start again on the saved database");
    EXPECT_EQ(TreeLines(reopened), (Lines{kSmith}));
    EXPECT_EQ(reopened.ListRows(IDC_JOURNAL_LIST), finalList);
    reopened.Click(IDC_SHOW_FINISHED);
    EXPECT_EQ(TreeLines(reopened), finalTree);
    reopened.PressKey(VK_ESCAPE);
    EXPECT_EQ(again.ExpectExit("end without saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), saved);
}

// What the window shows of the database: the tree's labels, children indented, the
// list's rows and the counter.
std::string Views(const MainWindow& main) {
    std::string views;
    for (const TreeNode& top : main.Tree(IDC_QUEST_TREE)) {
        views += top.label + "\n";
        for (const TreeNode& child : top.children) views += "  " + child.label + "\n";
    }
    for (const std::string& row : main.ListRows(IDC_JOURNAL_LIST)) views += "| " + row + "\n";
    return views + main.Text(IDC_DISPLAYED_COUNT);
}

// The five commands, then Ctrl+Z five times from the keyboard: the database saved is the
// one the player started with. Again, with Ctrl+Y five times after the undos: it is what
// the five commands alone would have saved.
TEST_F(EditingStory, CtrlZTakesEveryCommandBackAndCtrlYMakesItAgain) {
    folder->Write("journal.htm", Journal());
    const std::string original =
        QuestsImage({{{kSmith, false}, {kForge, true}}, {{kHeard, true}}, {{kCoal, true}}});
    const std::string edited = QuestsImage(
        {{{kForge, false}}, {{kHeard, false}}, {{kCoal, false}}, {{kMet, false}, {kPaid, false}}});
    for (const bool redo : {false, true}) {
        folder->Write("quests.lbd", original);
        Program& app = StartProgram();
        MainWindow main = app.ExpectMainWindow("show the journal without a message");
        std::vector<std::string> views = {Views(main)};

        main.ClickListRow(IDC_JOURNAL_LIST, 0);
        main.Click(IDC_START_NEW_QUEST);
        views.push_back(Views(main));
        main.ClickListRow(IDC_JOURNAL_LIST, 0);
        main.Click(IDC_ADD_TO_QUEST);
        views.push_back(Views(main));
        main.SelectTreeItem(IDC_QUEST_TREE, kSmith);
        main.Click(IDC_REMOVE_QUEST_ITEM);
        views.push_back(Views(main));
        main.SelectTreeItem(IDC_QUEST_TREE, kPaid);
        main.Click(IDC_TOGGLE_FINISHER);
        views.push_back(Views(main));
        main.MenuCommand(ID_OPTIONS_RESET_FINISHERS);
        app.ExpectMessageBox("ask before clearing the finishers").Press(IDYES, "answer Yes");
        views.push_back(Views(main));
        app.Snapshot("after the five commands", main.Handle());

        // The keys go to the list, as after a click on an entry.
        main.ClickListRow(IDC_JOURNAL_LIST, 0);
        for (std::size_t step = views.size() - 1; step > 0; --step) {
            main.TypeCtrlKey('Z');
            app.ExpectEventually("Ctrl+Z", "the views as before command " + std::to_string(step),
                                 [&] { return Views(main) == views[step - 1]; });
        }
        app.Snapshot("after five undos", main.Handle());
        if (redo) {
            for (std::size_t step = 1; step < views.size(); ++step) {
                // Ctrl+Shift+Z redoes as Ctrl+Y does.
                main.TypeCtrlKey(step == 3 ? 'Z' : 'Y', step == 3);
                app.ExpectEventually("Ctrl+Y", "the views as after command " + std::to_string(step),
                                     [&] { return Views(main) == views[step]; });
            }
            app.Snapshot("after five redos", main.Handle());
        }
        EXPECT_FALSE(app.FindMessageBox()) << "neither key shows a message";

        main.Close();
        app.ExpectMessageBox("ask whether to save").Press(IDYES, "save");
        EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
        EXPECT_EQ(folder->Read("quests.lbd"), redo ? edited : original);
    }
}

// A friend's database chosen in the open-file dialog of the Options menu: the report,
// their quests in the tree, then Undo; the database saved is the player's own.
TEST_F(EditingStory, AFriendsQuestsMergedFromTheOpenDialogAreTakenBackByUndo) {
    folder->Write("journal.htm", Journal());
    const std::string original = QuestsImage({{{kMet, false}, {kPaid, false}}, {{kSmith, false}}});
    folder->Write("quests.lbd", original);
    // A new quest, an entry for the ferryman's quest, the smith's quest had already, and
    // one that spans two of the player's quests.
    folder->Write("friend.lbd", QuestsImage({{{kLost, false}, {kFound, false}},
                                             {{kMet, true}, {kCrossed, false}},
                                             {{kSmith, false}},
                                             {{kPaid, false}, {kSmith, false}, {kCoal, false}}}));
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the journal without a message");
    const Lines before = {kMet, std::string("  ") + kPaid, kSmith};
    ASSERT_EQ(TreeLines(main), before);

    main.MenuCommand(ID_OPTIONS_MERGE_QUESTS);
    HWND dialog = app.ExpectDialog(kMergeDialogTitle, "the open-file dialog");
    ChooseFileToOpen(app, dialog, "friend.lbd", "open the friend's database");
    MessageBoxWindow report = app.ExpectMessageBox("the report");
    QuestMerge merged;
    merged.questsAdded = merged.itemsAdded = merged.questsHeld = merged.questsLeftOut = 1;
    EXPECT_EQ(report.Text(), MergeReportMessage(folder->PathOf("friend.lbd"), merged, {kPaid}));
    report.Press(IDOK, "read the report");
    app.Snapshot("their quests in the tree", main.Handle());
    EXPECT_EQ(TreeLines(main), (Lines{kMet, std::string("  ") + kPaid, std::string("  ") + kCrossed,
                                      kLost, std::string("  ") + kFound, kSmith}));

    main.MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(TreeLines(main), before);
    main.Close();
    app.ExpectMessageBox("ask whether to save").Press(IDYES, "save");
    EXPECT_EQ(app.ExpectExit("end after saving"), 0u);
    EXPECT_EQ(folder->Read("quests.lbd"), original);
}

}  // namespace
}  // namespace e2e
