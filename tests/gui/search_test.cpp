// The search: Find Next and Find Previous through the listed entries, its two
// messages, and the keys that search (F3 for highlighted text, Enter in the box).
#include "tests/gui/gui_fixture.h"

namespace {

const char kEmptyBox[] = "Enter the search text in the box below.";

class Search : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        WriteFile("journal.htm", "");
        WriteFile("quests.lbd", EmptyDatabaseImage());
        StartDialog();
    }

    // Puts these entries into the journal and lists every one not in `hidden`, in
    // journal order, each row's data being its entry's place in the journal.
    void ListEntries(const std::vector<std::string>& texts,
                     const std::vector<std::string>& hidden = {}) {
        CMainDlg& dlg = Dialog();
        dlg.journal.clear();
        dlg.journalList.ResetContent();
        for (const std::string& text : texts) {
            JournalEntry entry;
            entry.heading = "Day " + std::to_string(dlg.journal.size() + 1);
            entry.text = text;
            dlg.journal.push_back(entry);
            if (std::find(hidden.begin(), hidden.end(), text) != hidden.end()) continue;
            int row = dlg.journalList.AddString(text);
            dlg.journalList.SetItemData(row, static_cast<LPARAM>(dlg.journal.size() - 1));
        }
    }

    void Type(const std::string& text) { SetDlgItemTextA(Window(), IDC_SEARCH_BOX, text.c_str()); }
    void Highlight(int id, const std::string& text, int start, int end) {
        SetDlgItemTextA(Window(), id, text.c_str());
        SendMessageA(Control(id), EM_SETSEL, start, end);
    }
};

TEST_F(Search, FindNextAndPreviousStepThroughTheMatchesAroundTheList) {
    std::vector<std::string> texts;
    for (int i = 0; i < 10; ++i) texts.push_back("Entry " + std::to_string(i) + " of the road.");
    texts[1] = "An old lantern hangs by the door.";
    texts[7] = "The Lantern-maker wants oil.";
    ListEntries(texts);

    SelectListRow(3);
    Type("LANTERN");
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 7);
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 1) << "wraps past the last row";
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 7);
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 1);
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 7) << "wraps before the first row";
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "LANTERN");

    // Without a selection row 0 comes first, backward too.
    texts[0] = "A lantern lies in the grass.";
    ListEntries(texts);
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 0);

    // When the selected row is the only match it is selected again.
    Type("grass");
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 0);
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Search, EmptyBoxAndNoMatchSayWhyAndChangeNothing) {
    // An empty list: not even the empty box is mentioned.
    ListEntries({});
    Click(IDC_FIND_NEXT);
    Type("lantern");
    Click(IDC_FIND_PREVIOUS);
    EXPECT_TRUE(Boxes().empty());

    ListEntries({"The ferryman waits.", "A Dragon sleeps under the hill."});
    SelectListRow(1);
    Type("");
    ExpectBox(kEmptyBox);
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 1);

    // The message shows the text as it was compared, in small letters.
    Type("Dragon's HOARD");
    ExpectBox("\"dragon's hoard\" Not found.");
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 1);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "Dragon's HOARD");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].type, UINT(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(Search, EntriesTheListDoesNotShowAreNeverFound) {
    ListEntries({"The bell tolls at dawn.", "A silver bell was found.", "Rain again."},
                {"A silver bell was found."});
    SelectListRow(0);
    Type("silver");
    ExpectBox("\"silver\" Not found.");
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 0);

    // The heading isn't searched either, only the text.
    Type("day 3");
    ExpectBox("\"day 3\" Not found.");
    Click(IDC_FIND_NEXT);
}

TEST_F(Search, F3SearchesForTheTextHighlightedInAPaneTheTreesFirst) {
    ListEntries({"The lamp is lit.", "Moths circle the lamp.", "The well is dry.",
                 "Nobody drinks from the well."});
    SelectListRow(0);
    Focus(IDC_QUEST_TREE);

    // Only the list's pane has a highlight: that text is searched for.
    Highlight(IDC_LIST_TEXT, "Some water from the WELL, please.", 20, 24);
    PressKey(VK_F3);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "WELL");
    EXPECT_EQ(ListSelection(), 2);

    // Both panes have one: the tree's pane wins, whichever came last.
    Highlight(IDC_TREE_TEXT, "A lamp, a moth.", 2, 6);
    Highlight(IDC_LIST_TEXT, "The well again.", 4, 8);
    Focus(IDC_FIND_NEXT);
    PressKey(VK_F3);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "lamp");
    EXPECT_EQ(ListSelection(), 0);
    PressKey(VK_F3);
    EXPECT_EQ(ListSelection(), 1) << "F3 again steps to the next match";

    // Neither pane has a highlight: nothing happens.
    Highlight(IDC_TREE_TEXT, "A lamp, a moth.", 3, 3);
    Highlight(IDC_LIST_TEXT, "The well again.", 0, 0);
    Type("typed");
    PressKey(VK_F3);
    EXPECT_EQ(Text(IDC_SEARCH_BOX), "typed");
    EXPECT_EQ(ListSelection(), 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Search, EnterInTheSearchBoxSearchesForwardAndKeepsTheWindowOpen) {
    ListEntries({"Wolves in the north.", "Quiet night.", "More wolves.", "A wolf pelt sold."});
    Focus(IDC_SEARCH_BOX);
    Type("wolf");
    PressKey(VK_RETURN);
    EXPECT_EQ(ListSelection(), 3);
    PressKey(VK_RETURN);  // a held key repeats the search
    EXPECT_EQ(ListSelection(), 3) << "the only match, found again";
    Type("wolves");
    PressKey(VK_RETURN);
    PressKey(VK_RETURN);
    EXPECT_EQ(ListSelection(), 2);
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(IsWindowVisible(Window()));

    // Enter elsewhere doesn't search.
    Focus(IDC_JOURNAL_LIST);
    PressKey(VK_RETURN);
    EXPECT_EQ(ListSelection(), 2);
    EXPECT_FALSE(Ended());
}

}  // namespace
