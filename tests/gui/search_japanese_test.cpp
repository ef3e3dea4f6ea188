// The search, and the cuts of long texts, under the Japanese code page, where a
// character may take two bytes and the second may look like an ASCII letter. Run with
// LC_ALL=ja_JP.UTF-8 (its own CTest test); skipped under any other code page.
#include "tests/gui/gui_fixture.h"

namespace {

// Shift-JIS spellings.
const std::string kDungeonMap =  // "dungeon's map": the last character's trail byte is '}',
    "\x83\x5f\x83\x93\x83\x57\x83\x87\x83\x93\x82\xcc\x92\x6e\x90\x7d";  // one before it 'n'
const std::string kLampUpper = "\x82\x6b\x82\x60\x82\x6c\x82\x6f";       // full-width LAMP
const std::string kLampLower = "\x82\x8c\x82\x81\x82\x8d\x82\x90";       // full-width lamp
const std::string kMap = "\x92\x6e\x90\x7d";
const std::string kOldLamp = "OLD LAMP \x83";  // ends in half a character

class SearchInJapanese : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8)";
        WriteFile("journal.htm",
                  JournalText({{"1", kDungeonMap}, {"2", kLampUpper}, {"3", kOldLamp}}));
        WriteFile("quests.lbd", EmptyDatabaseImage());
        StartDialog();
        ASSERT_EQ(ListCount(), 3);
    }

    void Find(const std::string& text) {
        SetDlgItemTextA(Window(), IDC_SEARCH_BOX, text.c_str());
        Click(IDC_FIND_NEXT);
    }
};

TEST_F(SearchInJapanese, MatchesStartOnCharactersAndIgnoreCaseOfWideLetters) {
    // Bytes inside a double-byte character are no match for a letter or a sign.
    ExpectBox("\"n\" Not found.");
    Find("N");
    ExpectBox("\"}\" Not found.");
    Find("}");
    EXPECT_EQ(ListSelection(), LB_ERR);

    Find(kMap);
    EXPECT_EQ(ListSelection(), 0);
    Find(kLampLower);
    EXPECT_EQ(ListSelection(), 1) << "full-width letters are found in the other case";
    Find("old lamp");
    EXPECT_EQ(ListSelection(), 2) << "an entry ending in half a character is still lowered";
}

TEST_F(SearchInJapanese, F3TakesTheHighlightedCharactersWhole) {
    // Highlight the two-character word after "LAMP" and a particle: characters 5 to 7.
    std::string pane = kLampUpper + "\x82\xcc" + kMap + " and more";
    SetDlgItemTextA(Window(), IDC_TREE_TEXT, pane.c_str());
    SendMessageA(Control(IDC_TREE_TEXT), EM_SETSEL, 5, 7);
    PressKey(VK_F3);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), kMap);
    EXPECT_EQ(ListSelection(), 0);

    SendMessageA(Control(IDC_TREE_TEXT), EM_SETSEL, 0, 4);
    PressKey(VK_F3);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), kLampUpper);
    EXPECT_EQ(ListSelection(), 1);
}

class CutInJapanese : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese code page (LC_ALL=ja_JP.UTF-8)";
    }
};

// A long text is cut where a character begins, so that the last one shown is whole:
// the quote of a line in the journal's warning at 400 bytes, a row or pane at 4 KB.
TEST_F(CutInJapanese, LongTextsAreCutBetweenCharacters) {
    // A character on bytes 399 and 400 of the line, and on bytes 4095 and 4096 of the text.
    const std::string kana = "\x82\xa0";
    const std::string line = std::string(399, 'x') + kana + " and on<br>";
    const std::string text = std::string(4095, 'y') + kana + " more";
    WriteFile("journal.htm", JournalText({{"1", text}}) + line + "\r\n");
    WriteFile("quests.lbd", EmptyDatabaseImage());
    ExpectBox(std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) +
              std::string(399, 'x') + "...");
    StartDialog();
    EXPECT_EQ(ListRows(), (std::vector<std::string>{std::string(4095, 'y') + "..."}));
}

}  // namespace
