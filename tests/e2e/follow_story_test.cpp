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

const char kMet[] = "Met the ferryman.";
const char kPaid[] = "Paid the toll.";
const char kSmith[] = "Spoke to the smith.";
const char kForge[] = "The forge is cold.";
const char kLost[] = "Lost my boots.";
const char kFound[] = "Found new boots.";
const char kHorse[] = "Sold the horse.";

std::string Entry(int day, const std::string& text) {
    return "<FONT COLOR=\"9F0000\">Day " + std::to_string(day) + "</FONT><BR>\r\n" + text +
           "<P>\r\n";
}

// Quests by hand, as the editing story writes them: counts as 32-bit little-endian
// integers, each item unflagged but the smith's forge, its text and a zero.
std::string Image(const std::vector<Lines>& quests) {
    auto count = [](std::size_t n) {
        std::string bytes;
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((n >> shift) & 0xFF);
        return bytes;
    };
    std::string image = count(quests.size());
    for (const Lines& quest : quests) {
        image += count(quest.size());
        for (const std::string& text : quest)
            image += std::string(1, text == kForge ? '\xFF' : '\0') + text + std::string(1, '\0');
    }
    return image;
}

// The game's side: it keeps its journal open while it plays and appends to it, sharing it
// with whoever reads it.
class GameJournal {
public:
    explicit GameJournal(const std::string& path)
        : file(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~GameJournal() { CloseHandle(file); }
    bool IsOpen() const { return file != INVALID_HANDLE_VALUE; }
    bool Append(const std::string& bytes) {
        DWORD written = 0;
        return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    }

private:
    HANDLE file;
};

// The game's window, which takes the focus from Lorebinder as the player turns to it.
HWND ShowGameWindow() {
    HWND game = CreateWindowExA(0, "STATIC", "The game", WS_POPUP | WS_VISIBLE, 900, 700, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(game);
    return game;
}

TEST_F(FollowStory, EntriesTheGameAppendsShowWithoutAClickAndNothingMoves) {
    // Long enough for the list to scroll.
    std::string journal = Entry(1, kMet) + Entry(2, kPaid) + Entry(3, kSmith);
    for (int day = 4; day < 40; ++day)
        journal += Entry(day, "Walked on, day " + std::to_string(day) + ".");
    journal += Entry(40, kLost) + Entry(41, kFound);
    folder->Write("journal.htm", journal);
    folder->Write("quests.lbd", Image({{kMet, kPaid}, {kSmith, kForge}, {kLost, kFound}}));
    Program& app = StartProgram();
    MainWindow main = app.ExpectMainWindow("show the journal without a message");

    // The player lists every entry, scrolls down and picks one, picks an entry in the
    // tree and closes the boots quest.
    main.Click(IDC_SHOW_COLLATED);
    main.ScrollListTo(IDC_JOURNAL_LIST, 10);
    main.ClickListRow(IDC_JOURNAL_LIST, 12);
    main.SelectTreeItem(IDC_QUEST_TREE, kPaid);
    main.ExpandTreeItem(IDC_QUEST_TREE, kLost, false);
    const Lines rows = main.ListRows(IDC_JOURNAL_LIST);
    const std::string picked = rows[12];
    ASSERT_EQ(main.ListTopRow(IDC_JOURNAL_LIST), 10);
    auto treeLines = [&] {
        Lines lines;
        for (const TreeNode& top : main.Tree(IDC_QUEST_TREE)) {
            const bool closed = !top.children.empty() && !top.expanded;
            lines.push_back(top.label + (closed ? " [+]" : ""));
            for (const TreeNode& child : top.children) lines.push_back("  " + child.label);
        }
        return lines;
    };
    ASSERT_EQ(treeLines(), (Lines{kMet, std::string("  ") + kPaid, kSmith,
                                  std::string(kLost) + " [+]", std::string("  ") + kFound}));
    app.Snapshot("the views as the player left them", main.Handle());

    // The player turns to the game, which writes two entries, the second in two pieces:
    // the forge finishes the smith's quest.
    HWND game = ShowGameWindow();
    GameJournal gameJournal(folder->PathOf("journal.htm"));
    ASSERT_TRUE(gameJournal.IsOpen()) << GetLastError();
    ASSERT_TRUE(gameJournal.Append(Entry(42, kForge)));
    ASSERT_TRUE(gameJournal.Append(Entry(43, kHorse).substr(0, 40)));
    Sleep(200);
    ASSERT_TRUE(gameJournal.Append(Entry(43, kHorse).substr(40)));

    // Within two seconds, while the game still holds its journal open.
    const std::string count =
        "Displayed: " + std::to_string(rows.size() + 2) + "/" + std::to_string(rows.size() + 2);
    for (int tries = 0; tries < 20 && main.Text(IDC_DISPLAYED_COUNT) != count; ++tries) Sleep(100);
    app.Snapshot("the new entries shown", main.Handle());
    Lines grown = rows;
    grown.push_back(kForge);
    grown.push_back(kHorse);
    EXPECT_EQ(main.Text(IDC_DISPLAYED_COUNT), count);
    EXPECT_EQ(main.ListRows(IDC_JOURNAL_LIST), grown);
    EXPECT_EQ(main.ListSelection(IDC_JOURNAL_LIST), 12);
    EXPECT_EQ(main.Text(IDC_LIST_TEXT), picked);
    EXPECT_EQ(main.ListTopRow(IDC_JOURNAL_LIST), 10);
    EXPECT_EQ(main.Text(IDC_TREE_TEXT), kPaid);
    EXPECT_EQ(treeLines(), (Lines{kMet, std::string("  ") + kPaid, std::string(kLost) + " [+]",
                                  std::string("  ") + kFound}))
        << "the finished quest has left the tree";
    EXPECT_FALSE(app.FindMessageBox());
    DestroyWindow(game);

    main.PressKey(VK_ESCAPE);
    EXPECT_EQ(app.ExpectExit("end without saving"), 0u);
}

}  // namespace
}  // namespace e2e
