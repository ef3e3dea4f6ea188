// quests.lbd files as players get them from strangers: empty, cut off anywhere,
// counts that promise more than the file holds, a folder in its place. Each is
// named in the message, the program goes on with what could be read, and the file
// stays as it was unless the user agrees to replace it.
#include <algorithm>

#include "tests/gui/gui_fixture.h"

namespace {

const std::string kKey = "Find the key to the tower.";
const std::string kDoor = "The tower door is open.";
const std::string kRumour = "A fisherman told of a drowned bell.";

// Two quests with items and an empty quest at the end (which only a file can hold).
const std::vector<TestQuest> kWhole = {{{kKey, false}, {kDoor, true}}, {{kRumour, false}}, {}};

class BadDatabase : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteFile("journal.htm", "");
    }
    std::string Path() const { return PathOf("quests.lbd"); }
    // How the message about a damaged file begins, before what it read: the reason
    // (here without its full stop) follows.
    std::string Damaged() const {
        const std::string message = DatabaseDamagedMessage(Path(), 0, 0, 0, 0);
        const std::string reason = DatabasePartlyReadReason(0, 0);
        return message.substr(0, message.find(reason.substr(0, reason.size() - 1)));
    }
    std::string PartlyReadQuestionStart() const {
        return StartBefore(ReplacePartlyReadQuestion(Path(), kAnyText));
    }

    // Starts on `bytes` as quests.lbd, expecting the message that begins with
    // `message` (none when empty); checks what was kept, then answers Yes to saving and
    // No to replacing, which must leave the file alone and the window open, and closes
    // with No. A file read without a message is saved by the Yes instead.
    void StartOnAndCloseKeepingFile(const std::string& bytes, const std::string& message,
                                    const std::vector<TestQuest>& kept) {
        WriteFile("quests.lbd", bytes);
        if (!message.empty()) ExpectBoxStartingWith(message);
        const std::size_t before = Boxes().size();
        StartDialog();
        ASSERT_EQ(Boxes().size(), before + (message.empty() ? 0 : 1));
        if (!message.empty()) {
            EXPECT_FALSE(Boxes().back().mainWindowVisible);
        }
        EXPECT_FALSE(Ended());
        EXPECT_EQ(ImageOf(Dialog().database), DatabaseImage(kept));

        ExpectBox(kSaveQuestion, IDYES);
        if (!message.empty()) {
            ExpectBoxStartingWith(PartlyReadQuestionStart(), IDNO);
            RequestClose();
            EXPECT_FALSE(Ended());
            ExpectBox(kSaveQuestion, IDNO);
        }
        RequestClose();
        EXPECT_TRUE(Ended());
        EXPECT_EQ(ReadFile("quests.lbd"), bytes);
        std::vector<std::string> files = {"journal.htm", "quests.lbd"};
        if (message.empty()) files.push_back("quests.lbd.bak");
        EXPECT_EQ(FolderFiles(), files);
    }
};

TEST_F(BadDatabase, CutAtEveryRecordBoundaryAndInsideEveryRecordKeepsWhatIsWhole) {
    const std::string whole = DatabaseImage(kWhole);
    const std::size_t firstQuest = 4, keyItem = 8, doorItem = keyItem + kKey.size() + 2,
                      secondQuest = doorItem + kDoor.size() + 2, rumourItem = secondQuest + 4,
                      thirdQuest = rumourItem + kRumour.size() + 2;
    ASSERT_EQ(whole.size(), thirdQuest + 4);

    const std::vector<TestQuest> none, key = {{{kKey, false}}},
                                       firstWhole = {{{kKey, false}, {kDoor, true}}},
                                       twoWhole = {kWhole[0], kWhole[1]};
    const struct {
        std::size_t length;
        std::vector<TestQuest> kept;
    } cuts[] = {
        {2, none},                  // inside the quest count
        {firstQuest, none},         // the count alone
        {firstQuest + 3, none},     // inside the first quest's count
        {keyItem, none},            // a quest with its count and no item
        {keyItem + 1, none},        // an item's finisher byte alone
        {keyItem + 6, none},        // inside an item's text
        {doorItem - 1, none},       // a text without its terminator
        {doorItem, key},            // one whole item: its quest stays with it
        {doorItem + 1, key},        //
        {secondQuest, firstWhole},  // a whole quest
        {secondQuest + 1, firstWhole},
        {rumourItem, firstWhole},
        {rumourItem + 10, firstWhole},
        {thirdQuest, twoWhole},
        {thirdQuest + 2, twoWhole},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE("cut after " + std::to_string(cut.length) + " bytes");
        StartOnAndCloseKeepingFile(whole.substr(0, cut.length), Damaged(), cut.kept);
    }
    // The message says how much was read and what was kept.
    const std::string cutInsideSecondItem =
        DatabaseDamagedMessage(Path(), doorItem, doorItem + 1, 1, 1);
    EXPECT_TRUE(std::any_of(Boxes().begin(), Boxes().end(), [&](const ShownBox& box) {
        return box.text == cutInsideSecondItem;
    })) << cutInsideSecondItem;

    // Whole, the empty quest at the end included, it loads without a word.
    StartOnAndCloseKeepingFile(whole, "", kWhole);

    // The user may keep what was read: Yes twice writes it.
    WriteFile("quests.lbd", whole.substr(0, rumourItem + 10));
    ExpectBoxStartingWith(Damaged());
    StartDialog();
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDYES);
    RequestClose();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ReadFile("quests.lbd"), DatabaseImage(firstWhole));
}

TEST_F(BadDatabase, EmptyFileImpossibleCountsAndGarbageAreReportedAndLeftAlone) {
    StartOnAndCloseKeepingFile("", DatabaseEmptyMessage(Path()), {});

    const std::string key = std::string(1, '\0') + kKey + '\0';
    const std::string firstQuest = Count(1) + key;
    // The largest count there is, with one quest behind it: that quest and no more,
    // and quickly (nothing is sized by the count).
    StartOnAndCloseKeepingFile(Count(0x7FFFFFFF) + firstQuest, Damaged(), {{{kKey, false}}});
    StartOnAndCloseKeepingFile(Count(1) + Count(0x7FFFFFFF) + key, Damaged(), {{{kKey, false}}});
    // Negative counts: nothing can be read after them.
    StartOnAndCloseKeepingFile(Count(0xFFFFFFFF) + firstQuest,
                               DatabaseDamagedMessage(Path(), 0, 4 + firstQuest.size(), 0, 0), {});
    StartOnAndCloseKeepingFile(Count(0x80000000) + firstQuest, Damaged(), {});
    StartOnAndCloseKeepingFile(Count(2) + firstQuest + Count(0xFFFFFFFE) + key, Damaged(),
                               {{{kKey, false}}});
    // Binary garbage: read as far as it makes sense, here one quest of three odd items.
    StartOnAndCloseKeepingFile(std::string("MZ\x90\0\3\0\0\0\4\0\0\0\xFF\xFF\0\0", 16), Damaged(),
                               {{{"", true}, {"", false}, {"\xFF", true}}});
}

TEST_F(BadDatabase, FolderNamedLikeTheDatabaseIsReportedAndLeftAlone) {
    ASSERT_TRUE(CreateDirectoryA(PathOf("quests.lbd").c_str(), nullptr));
    ExpectBoxStartingWith(DatabaseIsFolderMessage(Path()));
    StartDialog();
    EXPECT_TRUE(Dialog().database.quests.empty());
    EXPECT_FALSE(Ended());

    // Saving can't put a file there: said so, and the window stays for another try.
    Dialog().database.AddQuest(kKey, -1, false);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBoxStartingWith(PartlyReadQuestionStart(), IDYES);
    ExpectBox(SaveFailedMessage(Path()));
    RequestClose();
    EXPECT_FALSE(Ended());
    EXPECT_EQ(FolderFiles(), (std::vector<std::string>{"journal.htm"}));
    DWORD attributes = GetFileAttributesA(PathOf("quests.lbd").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    ExpectBox(kSaveQuestion, IDNO);
    RequestClose();
    EXPECT_TRUE(Ended());
}

}  // namespace
