// A friend's quest database taken into the player's, unsaved edits included: chosen in
// the open-file dialog of the Options menu or dropped onto the window; the report, the
// views, one step to undo; and files that can't be taken, which change nothing.
#include <cstring>

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
};

// The report of merging kTheirs into kMine, as it names the file.
std::string Report(const std::string& path) {
    QuestMerge merge;
    merge.questsAdded = merge.itemsAdded = merge.questsHeld = merge.questsLeftOut = 1;
    return MergeReportMessage(path, merge, {kPaid});
}

// The dialog's own parameters and the drop's forms; the story of a merge chosen in the
// dialog is told to the real program (e2e).
TEST_F(MergeQuests, ChosenInTheOpenDialogOrDroppedItIsOneStepOfTheHistory) {
    WriteFile("friend.lbd", DatabaseImage(kTheirs));
    WriteFile("mine.lbd", DatabaseImage(kMine));
    Start();
    // An edit not yet saved is part of what the friend's quests join.
    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    const std::string edited = Image();

    ExpectBox(Report(PathOf("friend.lbd")));
    ASSERT_TRUE(WithModalDialog(
        [&] { MenuCommand(ID_OPTIONS_MERGE_QUESTS); },
        [&](HWND dialog) {
            char caption[64] = "";
            GetWindowTextA(dialog, caption, sizeof caption);
            EXPECT_STREQ(caption, kMergeDialogTitle);
            HWND filters = GetDlgItem(dialog, 0x470);  // cmb1
            Lines labels(2, std::string(64, '\0'));
            for (int i = 0; i < 2; ++i) {
                SendMessageA(filters, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&labels[i][0]));
                labels[i].resize(std::strlen(labels[i].c_str()));
            }
            EXPECT_EQ(labels, (Lines{"Quest databases (*.lbd)", "All files (*.*)"}));
            // A bare name: the dialog starts in the folder.
            SetDlgItemTextA(dialog, 1148, "friend.lbd");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }));
    EXPECT_EQ(Boxes().back().cursor, LoadCursor(nullptr, IDC_WAIT)) << "merged under the hourglass";
    EXPECT_EQ(Image(), DatabaseImage(kMerged));
    EXPECT_EQ(TreeLines(),
              (Lines{kHeard, kMet, "  " + kPaid, "  " + kCrossed, kLost, "  " + kFound, kSmith}));
    EXPECT_EQ(ListCount(), 0) << "every entry is collated now";
    char undo[64] = "";
    GetMenuStringA(GetMenu(Window()), ID_EDIT_UNDO, undo, sizeof undo, MF_BYCOMMAND);
    EXPECT_EQ(undo, std::string(kUndoItem) + " " + kMergeQuestsStep + kUndoKey);
    MenuCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), edited);
    EXPECT_EQ(ListRows(), (Lines{kCrossed, kLost, kFound}));

    // Dropped from a folder named outside the system code page.
    ScratchFolder friends = ScratchFolder::At(PathOf(u8"Łódź 日本語"));
    friends.Write("theirs.lbd", DatabaseImage(kTheirs));
    ExpectBox(kMergeOneFileAtATime);
    Drop({friends.PathOf("theirs.lbd"), PathOf("mine.lbd")});
    EXPECT_EQ(Image(), edited);
    ExpectBox(Report(friends.PathOf("theirs.lbd")));
    Drop({friends.PathOf("theirs.lbd")});
    EXPECT_EQ(Image(), DatabaseImage(kMerged));
    MenuCommand(ID_EDIT_UNDO);

    // The code page's form of the block; nothing to add is said, and leaves no step.
    QuestMerge held;
    held.questsHeld = 2;
    ExpectBox(MergeReportMessage(PathOf("mine.lbd"), held, {}));
    Drop({PathOf("mine.lbd")}, false);
    EXPECT_EQ(Image(), edited);
    EXPECT_EQ(Dialog().editor.NextUndo()->kind, EditKind::StartQuest);

    // Cancelled, the dialog merges nothing.
    WithModalDialog([&] { MenuCommand(ID_OPTIONS_MERGE_QUESTS); },
                    [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    ExpectBox(kSaveQuestion, IDYES);
    RequestClose();
    ASSERT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), edited);
}

TEST_F(MergeQuests, AFileThatCantBeTakenWholeIsNamedWithWhyAndChangesNothing) {
    Start();
    const std::string theirs = DatabaseImage(kTheirs);
    const std::size_t firstQuest = DatabaseImage({kTheirs[0]}).size();
    WriteFile("empty.lbd", "");
    WriteFile("cut.lbd", theirs.substr(0, firstQuest + 9));
    WriteFile("picture.lbd", "\x89PNG\r\n\x1A\n and so on");
    CreateDirectoryW(WideFromUtf8(PathOf("folder.lbd")).c_str(), nullptr);
    WriteFile("locked.lbd", theirs);
    HANDLE held = CreateFileW(WideFromUtf8(PathOf("locked.lbd")).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    WriteFile("unreadable.lbd", theirs);
    InjectFileFault(FileOperation::Read, 1, "unreadable.lbd", ERROR_CRC);
    MakeHuge("huge.lbd");
    // The program's own database under another name of the same file.
    ASSERT_TRUE(CreateHardLinkW(WideFromUtf8(PathOf("same.lbd")).c_str(),
                                WideFromUtf8(PathOf("quests.lbd")).c_str(), nullptr));

    const std::pair<const char*, std::string> files[] = {
        {"empty.lbd", kDatabaseEmpty},
        {"cut.lbd", MergeDamagedReason(firstQuest, firstQuest + 9, 1)},
        {"picture.lbd", MergeDamagedReason(0, 0, 0)},
        {"folder.lbd", kIsFolderReason},
        {"gone.lbd", SystemErrorText(ERROR_FILE_NOT_FOUND)},
        {"locked.lbd", SystemErrorText(ERROR_SHARING_VIOLATION)},
        {"unreadable.lbd", SystemErrorText(ERROR_CRC)},
        {"huge.lbd", kDatabaseTooLarge},
        {"same.lbd", ""},
    };
    const std::string original = Image();
    for (const auto& [name, reason] : files) {
        ExpectBox(reason.empty() ? MergeOwnDatabaseMessage(PathOf(name))
                                 : MergeRefusedMessage(PathOf(name), reason));
        Drop({PathOf(name)});
        EXPECT_EQ(Image(), original) << name;
        EXPECT_EQ(Dialog().editor.NextUndo(), nullptr) << name;
    }
    CloseHandle(held);
}

}  // namespace
