// A friend's quest database taken into the player's, unsaved edits included: chosen in
// the open-file dialog of the Options menu or dropped onto the window; the report, the
// views, one step to undo; and files that can't be taken, which change nothing.
#include <cstring>
#include <functional>

#include "editing/merge_messages.h"
#include "framework/file.h"
#include "framework/file_faults.h"
#include "framework/wide_text.h"
#include "tests/gui/gui_fixture.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kHeard = "Heard of the ferry.", kMet = "Met the ferryman.",
                  kPaid = "Paid the toll.", kCrossed = "Crossed the river.",
                  kLost = "Lost my boots.", kFound = "Found new boots.",
                  kSmith = "Spoke to the smith.";

const std::vector<TestQuest> kMine = {{{kMet, false}, {kPaid, false}}, {{kSmith, false}}};
// A new quest, an entry for the ferryman's quest, the smith's quest had already, and
// one that spans two quests of the player's.
const std::vector<TestQuest> kTheirs = {{{kLost, false}, {kFound, false}},
                                        {{kMet, true}, {kCrossed, false}},
                                        {{kSmith, false}},
                                        {{kPaid, false}, {kSmith, false}, {"Bought coal.", false}}};
// Theirs taken into the player's after the player started a quest of the first entry.
const std::vector<TestQuest> kMerged = {{{kMet, false}, {kPaid, false}, {kCrossed, false}},
                                        {{kSmith, false}},
                                        {{kHeard, false}},
                                        {{kLost, false}, {kFound, false}}};

// The documented DROPFILES block's head, as Explorer makes it (shlobj.h, which declares
// it, clashes with the program's headers).
struct DropFilesHead {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

class MergeQuests : public MainDialogTest {
protected:
    void Start() {
        WriteFile("journal.htm", JournalText({{"Day 1", kHeard},
                                              {"Day 1", kMet},
                                              {"Day 2", kPaid},
                                              {"Day 2", kCrossed},
                                              {"Day 3", kLost},
                                              {"Day 3", kFound},
                                              {"Day 4", kSmith}}));
        WriteFile("quests.lbd", DatabaseImage(kMine));
        StartDialog();
    }

    std::string Image() { return ImageOf(Dialog().database); }

    // What Explorer posts when files are dropped onto the window: a DROPFILES block that
    // names them, in UTF-16 or in the system code page.
    void Drop(const std::vector<std::string>& paths, bool wide = true) {
        std::string names;
        for (const std::string& path : paths) {
            if (wide) {
                const std::wstring name = WideFromUtf8(path);
                names.append(reinterpret_cast<const char*>(name.c_str()),
                             (name.size() + 1) * sizeof(wchar_t));
            } else {
                names += SystemCodePageFromUtf8(path) + '\0';
            }
        }
        names.append(wide ? sizeof(wchar_t) : 1, '\0');
        DropFilesHead header = {};
        header.pFiles = sizeof header;
        header.fWide = wide;
        HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE, sizeof header + names.size());
        auto* block = static_cast<char*>(GlobalLock(drop));
        std::memcpy(block, &header, sizeof header);
        std::memcpy(block + sizeof header, names.data(), names.size());
        GlobalUnlock(drop);
        PostMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        PumpMessages();
    }

    std::string UndoItem() {
        char text[128] = "";
        GetMenuStringA(GetMenu(Window()), ID_EDIT_UNDO, text, sizeof(text), MF_BYCOMMAND);
        return text;
    }
};

// The report of merging kTheirs into kMine, as it names the file.
std::string Report(const std::string& path) {
    QuestMerge merge;
    merge.questsAdded = merge.itemsAdded = merge.questsHeld = merge.questsLeftOut = 1;
    return MergeReportMessage(path, merge, {kPaid});
}

TEST_F(MergeQuests, ChosenInTheOpenDialogItIsOneStepOfTheHistory) {
    WriteFile("friend.lbd", DatabaseImage(kTheirs));
    Start();
    // An edit not yet saved is part of what the friend's quests join.
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    const std::string edited = Image();

    ExpectBox(Report(PathOf("friend.lbd")));
    const bool opened = WithModalDialog(
        [&] { MenuCommand(ID_OPTIONS_MERGE_QUESTS); },
        [&](HWND dialog) {
            char caption[128] = "";
            GetWindowTextA(dialog, caption, sizeof caption);
            EXPECT_STREQ(caption, kMergeDialogTitle);
            // The filters' box, cmb1.
            HWND filters = GetDlgItem(dialog, 0x470);
            Lines labels;
            for (int i = 0; i < 2; ++i) {
                char label[64] = "";
                SendMessageA(filters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label));
                labels.push_back(label);
            }
            EXPECT_EQ(labels, (Lines{"Quest databases (*.lbd)", "All files (*.*)"}));
            // A bare name: the dialog starts in the folder.
            SetDlgItemTextA(dialog, 1148, "friend.lbd");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
    ASSERT_TRUE(opened);
    EXPECT_EQ(Boxes().back().cursor, LoadCursor(nullptr, IDC_WAIT)) << "merged under the hourglass";
    EXPECT_EQ(Image(), DatabaseImage(kMerged));
    EXPECT_EQ(TreeLines(),
              (Lines{kHeard, kMet, "  " + kPaid, "  " + kCrossed, kLost, "  " + kFound, kSmith}));
    EXPECT_EQ(ListCount(), 0) << "every entry is collated now";
    EXPECT_EQ(UndoItem(), std::string(kUndoItem) + " " + kMergeQuestsStep + kUndoKey);

    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), edited);
    EXPECT_EQ(ListRows(), (Lines{kCrossed, kLost, kFound}));
    MenuCommand(ID_EDIT_REDO);
    EXPECT_EQ(Image(), DatabaseImage(kMerged));

    // Cancelled, the dialog merges nothing.
    WithModalDialog([&] { MenuCommand(ID_OPTIONS_MERGE_QUESTS); },
                    [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    ASSERT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(kMerged));
}

TEST_F(MergeQuests, DroppedOneFileIsMergedSeveralAreNot) {
    Start();
    // A folder named outside the system code page, its name in either form of the block.
    ScratchFolder friends = ScratchFolder::At(PathOf(u8"Łódź 日本語"));
    friends.Write("theirs.lbd", DatabaseImage(kTheirs));
    friends.Write("mine.lbd", DatabaseImage(kMine));
    const std::string original = Image();

    ExpectBox(kMergeOneFileAtATime);
    Drop({friends.PathOf("theirs.lbd"), friends.PathOf("mine.lbd")});
    EXPECT_EQ(Image(), original);

    // Nothing to add: said so, and nothing to undo.
    QuestMerge held;
    held.questsHeld = 2;
    ExpectBox(MergeReportMessage(friends.PathOf("mine.lbd"), held, {}));
    Drop({friends.PathOf("mine.lbd")});
    EXPECT_EQ(Image(), original);
    EXPECT_EQ(Dialog().editor.NextUndo(), nullptr);

    const Lines tree = TreeLines();
    ExpectBox(Report(friends.PathOf("theirs.lbd")));
    Drop({friends.PathOf("theirs.lbd")});
    EXPECT_EQ(TreeLines(),
              (Lines{kMet, "  " + kPaid, "  " + kCrossed, kLost, "  " + kFound, kSmith}));
    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), original);
    EXPECT_EQ(TreeLines(), tree);

    // The code page's form names a file in a folder that the code page can spell.
    WriteFile("friend.lbd", DatabaseImage(kTheirs));
    ExpectBox(Report(PathOf("friend.lbd")));
    Drop({PathOf("friend.lbd")}, false);
    EXPECT_EQ(Dialog().database.quests.size(), 3u);
    MenuCommand(ID_EDIT_UNDO);
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    ASSERT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(kMine));
}

TEST_F(MergeQuests, AFileThatCantBeTakenWholeIsNamedWithWhyAndChangesNothing) {
    Start();
    const std::string theirs = DatabaseImage(kTheirs);
    const std::size_t firstQuest = DatabaseImage({kTheirs[0]}).size();
    HANDLE held = INVALID_HANDLE_VALUE;
    const struct {
        const char* name;
        std::function<std::string(const std::string& path)> make;  // gives the reason
    } files[] = {
        {"empty.lbd",
         [&](const std::string& path) {
             WriteFile(path, "");
             return std::string(kDatabaseEmpty);
         }},
        {"cut.lbd",
         [&](const std::string& path) {
             WriteFile(path, theirs.substr(0, firstQuest + 9));
             return MergeDamagedReason(firstQuest, firstQuest + 9, 1);
         }},
        {"picture.lbd",
         [&](const std::string& path) {
             WriteFile(path, "\x89PNG\r\n\x1A\n and so on");
             return MergeDamagedReason(0, 0, 0);
         }},
        {"folder.lbd",
         [&](const std::string& path) {
             CreateDirectoryW(WideFromUtf8(PathOf(path)).c_str(), nullptr);
             return std::string(kIsFolderReason);
         }},
        {"gone.lbd", [&](const std::string&) { return SystemErrorText(ERROR_FILE_NOT_FOUND); }},
        {"locked.lbd",
         [&](const std::string& path) {
             WriteFile(path, theirs);
             held = CreateFileW(WideFromUtf8(PathOf(path)).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
             return SystemErrorText(ERROR_SHARING_VIOLATION);
         }},
        {"unreadable.lbd",
         [&](const std::string& path) {
             WriteFile(path, theirs);
             InjectFileFault(FileOperation::Read, 1, path, ERROR_CRC);
             return SystemErrorText(ERROR_CRC);
         }},
        {"huge.lbd",
         [&](const std::string& path) {
             // Sparse: no disk used.
             HANDLE huge = CreateFileW(WideFromUtf8(PathOf(path)).c_str(), GENERIC_WRITE, 0,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
             LARGE_INTEGER size;
             size.QuadPart = 3LL << 30;
             SetFilePointerEx(huge, size, nullptr, FILE_BEGIN);
             SetEndOfFile(huge);
             CloseHandle(huge);
             return std::string(kDatabaseTooLarge);
         }},
    };
    const std::string original = Image();
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        ExpectBox(MergeRefusedMessage(PathOf(file.name), file.make(file.name)));
        Drop({PathOf(file.name)});
        EXPECT_EQ(Image(), original);
        EXPECT_EQ(Dialog().editor.NextUndo(), nullptr);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }

    // The program's own database, under another name of the same file.
    ASSERT_TRUE(CreateHardLinkW(WideFromUtf8(PathOf("same.lbd")).c_str(),
                                WideFromUtf8(PathOf("quests.lbd")).c_str(), nullptr));
    ExpectBox(MergeOwnDatabaseMessage(PathOf("same.lbd")));
    Drop({PathOf("same.lbd")});
    EXPECT_EQ(Image(), original);
    EXPECT_EQ(Dialog().editor.NextUndo(), nullptr);
}

}  // namespace
