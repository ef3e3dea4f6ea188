// The player turns to the game, which writes two entries into its journal while
// Lorebinder stays on screen beside it: without a click, Lorebinder shows them, and
// nothing the player had set in its views has moved.
#include <string>
#include <vector>

#include "black_box_test.h"
#include "res/resource.h"

namespace e2e {
namespace {

using FollowStory = BlackBoxTest;
using Lines = std::vector<std::string>;

const std::string kMet = "Met the ferryman.", kPaid = "Paid the toll.";
const std::string kSmith = "Spoke to the smith.", kForge = "The forge is cold.";
const std::string kLost = "Lost my boots.", kFound = "Found new boots.";

std::string Entry(int day, const std::string& text) {
    return "<FONT>Day " + std::to_string(day) + "</FONT><BR>\r\n" + text + "<P>\r\n";
}

// The tree as lines: children indented, " [+]" after a closed quest.
Lines TreeLines(const MainWindow& main) {
    Lines lines;
    for (const TreeNode& top : main.Tree(IDC_QUEST_TREE)) {
        lines.push_back(top.label + (!top.children.empty() && !top.expanded ? " [+]" : ""));
        for (const TreeNode& child : top.children) lines.push_back("  " + child.label);
    }
    return lines;
}

TEST_F(FollowStory, EntriesTheGameAppendsShowWithoutAClickAndNothingMoves) {
    std::string journal = Entry(1, kMet) + Entry(2, kPaid) + Entry(3, kSmith);
    for (int day = 4; day < 40; ++day) journal += Entry(day, "Day " + std::to_string(day) + ".");
    folder->Write("journal.htm", journal + Entry(40, kLost) + Entry(41, kFound));
    folder->Write("quests.lbd", QuestsImage({{{kMet, false}, {kPaid, false}},
                                             {{kSmith, false}, {kForge, true}},
                                             {{kLost, false}, {kFound, false}}}));
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the journal without a message");

    // The player lists every entry, scrolls down and picks one, picks an entry in the
    // tree and closes the boots quest.
    main.Click(IDC_SHOW_COLLATED);
    main.ScrollListTo(IDC_JOURNAL_LIST, 10);
    main.ClickListRow(IDC_JOURNAL_LIST, 12);
    main.SelectTreeItem(IDC_QUEST_TREE, kPaid);
    main.ExpandTreeItem(IDC_QUEST_TREE, kLost, false);
    Lines rows = main.ListRows(IDC_JOURNAL_LIST);
    ASSERT_EQ(TreeLines(main), (Lines{kMet, "  " + kPaid, kSmith, kLost + " [+]", "  " + kFound}));

    // The game takes the focus, keeps its journal open, sharing it, and writes two
    // entries, the second in two pieces; the forge finishes the smith's quest.
    HWND game = CreateWindowExA(0, "STATIC", "The game", WS_POPUP | WS_VISIBLE, 900, 700, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(game);
    HANDLE file = CreateFileA(folder->PathOf("journal.htm").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string written = Entry(42, kForge) + Entry(43, "Sold the horse.");
    DWORD size = 0;
    WriteFile(file, written.data(), 60, &size, nullptr);
    Sleep(200);
    WriteFile(file, written.data() + 60, static_cast<DWORD>(written.size() - 60), &size, nullptr);

    // Within two seconds, with no click.
    const std::string count =
        "Displayed: " + std::to_string(rows.size() + 2) + "/" + std::to_string(rows.size() + 2);
    for (int tries = 0; tries < 20 && main.Text(IDC_DISPLAYED_COUNT) != count; ++tries) Sleep(100);
    app.Snapshot("the new entries shown", main.Handle());
    CloseHandle(file);
    DestroyWindow(game);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), count);
    const std::string picked = rows[12];
    rows.insert(rows.end(), {kForge, "Sold the horse."});
    EXPECT_EQ(main.ListRows(IDC_JOURNAL_LIST), rows);
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), 12);
    EXPECT_EQ(main.Text(IDC_LIST_TEXT), picked);
    EXPECT_EQ(main.ListTopRow(IDC_JOURNAL_LIST), 10);
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), kPaid);
    EXPECT_EQ(TreeLines(main), (Lines{kMet, "  " + kPaid, kLost + " [+]", "  " + kFound}));
    EXPECT_FALSE(app.FindMessageBox());

    main.PressKey(VK_ESCAPE);
    EXPECT_EQ(app.ExpectExit("end without saving"), 0u);
}

}  // namespace
}  // namespace e2e
