// The search: Find Next and Find Previous through the listed entries, its two
// messages, and the keys that search (F3 for highlighted text, Enter in the box).
#include "tests/gui/gui_fixture.h"

namespace {

class Search : public MainDialogTest {
protected:
    // Starts the program on a journal of these entries, headed "Day 1", "Day 2", ...
    // The database holds the `hidden` ones, so that the list, which shows unknown
    // entries but not collated ones, leaves them out.
    void ListEntries(const std::vector<std::string>& texts,
                     const std::vector<std::string>& hidden = {}) {
        std::vector<TestEntry> entries;
        for (const std::string& text : texts)
            entries.emplace_back("Day " + std::to_string(entries.size() + 1), text);
        WriteFile("journal.htm", JournalText(entries));
        TestQuest quest;
        for (const std::string& text : hidden) quest.emplace_back(text, false);
        WriteFile("quests.lbd", hidden.empty() ? EmptyDatabaseImage() : DatabaseImage({quest}));
        StartDialog();
        ASSERT_EQ(ListCount(), static_cast<int>(texts.size() - hidden.size()));
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
    EXPECT_EQ(Text(IDC_LIST_TEXT), texts[7]) << "the found entry's panes are filled";
    EXPECT_EQ(Text(IDC_LIST_HEADING), "Day 8");
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 1) << "wraps past the last row";
    EXPECT_EQ(Text(IDC_LIST_TEXT), texts[1]);
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
    Type("lantern");
    Click(IDC_FIND_PREVIOUS);
    EXPECT_EQ(ListSelection(), 0);

    // When the selected row is the only match it is selected again, panes refreshed.
    Type("grass");
    SetDlgItemTextA(Window(), IDC_LIST_TEXT, "");
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(ListSelection(), 0);
    EXPECT_EQ(Text(IDC_LIST_TEXT), texts[0]);
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
    ExpectBox(kEmptySearchMessage);
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
    Type("wolves");
    PressKeyOn(IDC_SEARCH_BOX, VK_RETURN);
    EXPECT_EQ(ListSelection(), 0);
    PressKeyOn(IDC_SEARCH_BOX, VK_RETURN);  // a held key repeats the search
    EXPECT_EQ(ListSelection(), 2);
    Type("wolf");
    PressKeyOn(IDC_SEARCH_BOX, VK_RETURN);
    PressKeyOn(IDC_SEARCH_BOX, VK_RETURN);
    EXPECT_EQ(ListSelection(), 3) << "the only match, found again";
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(IsWindowVisible(Window()));

    // Enter elsewhere doesn't search.
    PressKeyOn(IDC_JOURNAL_LIST, VK_RETURN);
    EXPECT_EQ(ListSelection(), 3);
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
