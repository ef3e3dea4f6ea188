#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "views/font_scale.h"
#include "views/list_filter.h"
#include "views/quest_groups.h"
#include "views/search_steps.h"
#include "views/view_messages.h"

namespace {

std::vector<JournalEntry> Journal(std::vector<std::int32_t> collated) {
    std::vector<JournalEntry> journal(collated.size());
    for (std::size_t i = 0; i < journal.size(); ++i) {
        journal[i].text = "entry " + std::to_string(i);
        journal[i].collated = collated[i];
    }
    return journal;
}

// Adds a quest whose items stand at the given journal positions (-1: absent).
void AddQuest(QuestDatabase& db, std::vector<std::int32_t> positions, int finisherItem = -1) {
    Quest quest;
    for (std::int32_t p : positions) {
        quest.items.push_back({"item " + std::to_string(p), false, p});
    }
    if (finisherItem >= 0) quest.items[finisherItem].finisher = true;
    db.quests.push_back(quest);
}

// Each group as its positions, a finisher marked by negating it (offset by one for 0).
std::vector<std::vector<int>> Shape(const std::vector<QuestGroup>& groups) {
    std::vector<std::vector<int>> shape;
    for (const QuestGroup& group : groups) {
        shape.emplace_back();
        for (const QuestGroupEntry& e : group.entries) {
            shape.back().push_back(e.finisher ? -(e.position + 1) : e.position);
        }
    }
    return shape;
}

}  // namespace

TEST(QuestGroups, TreeShowsQuestsByEarliestEntryWithChildrenInJournalOrder) {
    const auto journal = Journal(std::vector<std::int32_t>(10, 1));
    QuestDatabase db;
    AddQuest(db, {7, 2, 5});
    AddQuest(db, {4, -1});
    AddQuest(db, {-1, -1});        // nothing present: never shown
    AddQuest(db, {9, 1}, 0);       // finished by the entry at 9
    AddQuest(db, {-1, 8, 42}, 0);  // finisher absent, 42 beyond the journal: unfinished
    AddQuest(db, {3});

    auto unfinished = GroupQuests(db, journal, true, false);
    EXPECT_EQ(Shape(unfinished), (std::vector<std::vector<int>>{{2, 5, 7}, {3}, {4}, {8}}));
    EXPECT_EQ(unfinished[0].quest, &db.quests[0]);
    EXPECT_EQ(unfinished[1].quest, &db.quests[5]);
    EXPECT_FALSE(unfinished[3].finished);

    auto finished = GroupQuests(db, journal, false, true);
    EXPECT_EQ(Shape(finished), (std::vector<std::vector<int>>{{1, -10}}));
    EXPECT_TRUE(finished[0].finished);

    EXPECT_EQ(GroupQuests(db, journal, true, true).size(), 5u);
    EXPECT_TRUE(GroupQuests(db, journal, false, false).empty());
    EXPECT_TRUE(GroupQuests(db, {}, true, true).empty());

    EXPECT_EQ(QuestTreeLabel("Met the smith.", true), "FINISHER: Met the smith.");
    EXPECT_EQ(QuestTreeLabel("Met the smith.", false), "Met the smith.");
}

TEST(ListFilter, EachFilterCombinationListsInJournalOrderAndSkipsBadEntries) {
    const auto journal = Journal({0, 1, 1, 0, 7, 1, -1});
    using Rows = std::vector<std::int32_t>;
    EXPECT_EQ(FilterJournal(journal, true, false).rows, (Rows{0, 3}));
    EXPECT_EQ(FilterJournal(journal, false, true).rows, (Rows{1, 2, 5}));
    EXPECT_EQ(FilterJournal(journal, true, true).rows, (Rows{0, 1, 2, 3, 5}));
    EXPECT_TRUE(FilterJournal(journal, false, false).rows.empty());
    EXPECT_EQ(FilterJournal(journal, false, false).badEntries, (Rows{4, 6}));

    EXPECT_EQ(DisplayedCountText(5, 7), "Displayed: 5/7");
    EXPECT_EQ(DisplayedCountText(0, 0), "Displayed: 0/0");
}

namespace {

// Runs a search and returns the rows it looked at, the landing row last (or -1).
std::vector<int> Visits(int rows, int selection, int direction, std::vector<int> matches) {
    std::vector<int> visited;
    auto found = FindMatchingRow(rows, selection, direction, [&](int r) {
        visited.push_back(r);
        return std::find(matches.begin(), matches.end(), r) != matches.end();
    });
    visited.push_back(found.value_or(-1));
    return visited;
}

int Landing(int rows, int selection, int direction, std::vector<int> matches) {
    return Visits(rows, selection, direction, matches).back();
}

}  // namespace

TEST(SearchSteps, RepeatedSearchesStepThroughMatchesAndWrap) {
    // Row 3 of 10 selected, matches at 1 and 7.
    EXPECT_EQ(Landing(10, 3, 1, {1, 7}), 7);
    EXPECT_EQ(Landing(10, 7, 1, {1, 7}), 1);
    EXPECT_EQ(Landing(10, 1, 1, {1, 7}), 7);
    EXPECT_EQ(Landing(10, 3, -1, {1, 7}), 1);
    EXPECT_EQ(Landing(10, 1, -1, {1, 7}), 7);

    // Without a (valid) selection row 0 comes first in both directions.
    EXPECT_EQ(Landing(10, -1, 1, {0, 5}), 0);
    EXPECT_EQ(Landing(10, -1, -1, {0, 5}), 0);
    EXPECT_EQ(Visits(4, -1, -1, {}), (std::vector<int>{0, 3, 2, 1, -1}));
    EXPECT_EQ(Visits(4, 9, 1, {}), (std::vector<int>{0, 1, 2, 3, -1}));

    // The selected row is looked at last, so it is found again only alone.
    EXPECT_EQ(Visits(4, 2, 1, {2}), (std::vector<int>{3, 0, 1, 2, 2}));
    EXPECT_EQ(Visits(4, 0, -1, {0}), (std::vector<int>{3, 2, 1, 0, 0}));
    EXPECT_EQ(Landing(1, 0, 1, {0}), 0);
    EXPECT_EQ(Landing(0, -1, 1, {0}), -1);
}

TEST(SearchText, MatchesStartOnlyOnCharacterBoundaries) {
    const auto lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9f) || c >= 0xe0; };
    const auto single = [](unsigned char) { return false; };
    // "\x82\x61" is one double-byte character whose trail byte reads as 'a'.
    EXPECT_FALSE(ContainsText("x\x82\x61y", "a", lead));
    EXPECT_TRUE(ContainsText("x\x82\x61y", "a", single));
    EXPECT_TRUE(ContainsText("x\x82\x61ya", "a", lead));
    // A trail byte that looks like a lead byte must not start a match either.
    EXPECT_FALSE(ContainsText("\x82\x82\x61", "\x82\x61", lead));
    EXPECT_TRUE(ContainsText("\x82\x82\x82\x61", "\x82\x61", lead));
    EXPECT_TRUE(ContainsText("a lone lead \x82", "\x82", lead));
    EXPECT_TRUE(ContainsText("anything", "", lead));
    EXPECT_FALSE(ContainsText("ab", "abc", single));

    EXPECT_EQ(NotFoundMessage("dragon"), "\"dragon\" Not found.");
}

// The search skips ahead with the library's substring search; it must still land
// exactly where a walk over every character boundary would.
TEST(SearchText, AgreesWithAWalkOverEveryBoundaryOnRandomDoubleByteTexts) {
    const auto lead = [](unsigned char c) { return c == 0x82 || c == 0x83; };
    const auto walk = [&](const std::string& haystack, const std::string& needle) {
        for (std::size_t at = 0; at + needle.size() <= haystack.size();) {
            if (haystack.compare(at, needle.size(), needle) == 0) return true;
            at += (lead(static_cast<unsigned char>(haystack[at])) && at + 1 < haystack.size()) ? 2
                                                                                               : 1;
        }
        return false;
    };
    // Few distinct bytes, so that candidates on trail bytes are common.
    const char alphabet[] = {'a', 'b', '\x82', '\x83'};
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    const auto randomText = [&](std::size_t longest) {
        std::string text(next() % (longest + 1), ' ');
        for (char& c : text) c = alphabet[next() % 4];
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string haystack = randomText(12);
        const std::string needle = randomText(3);
        ASSERT_EQ(ContainsText(haystack, needle, lead), walk(haystack, needle))
            << "haystack of " << haystack.size() << " bytes, needle of " << needle.size();
    }
}

TEST(SearchText, HighlightedTextIsCutByTheEditBoxsOwnPositions) {
    const auto lead = [](unsigned char c) { return (c >= 0x81 && c <= 0x9f) || c >= 0xe0; };
    // Two double-byte characters, then "ab": six bytes, four characters.
    const std::string text =
        "\x82\xa0\x82\xa2"
        "ab";
    // A box that counts characters.
    EXPECT_EQ(TextBetween(text, 1, 3, 4, lead),
              "\x82\xa2"
              "a");
    EXPECT_EQ(TextBetween(text, 0, 4, 4, lead), text);
    // A box that counts bytes.
    EXPECT_EQ(TextBetween(text, 2, 5, 6, lead),
              "\x82\xa2"
              "a");
    // Positions beyond either end stop there; an empty or reversed range gives nothing.
    EXPECT_EQ(TextBetween(text, 3, 99, 4, lead), "b");
    EXPECT_EQ(TextBetween(text, -5, 1, 4, lead), "\x82\xa0");
    EXPECT_EQ(TextBetween(text, 2, 2, 4, lead), "");
    EXPECT_EQ(TextBetween(text, 3, 1, 6, lead), "");
    // Half a character at the end counts as one.
    EXPECT_EQ(TextBetween("a\x82", 1, 2, 2, lead), "\x82");
    EXPECT_EQ(TextBetween("", 0, 5, 0, lead), "");
}

TEST(FontScale, HeightsRoundTowardZeroAndSliderSpansOneToThree) {
    EXPECT_EQ(ScaleFontDimension(-11, 1.0f), -10);
    EXPECT_EQ(ScaleFontDimension(-11, 1.5f), -16);
    EXPECT_EQ(ScaleFontDimension(-11, 2.0f), -21);
    EXPECT_EQ(ScaleFontDimension(-11, 3.0f), -32);
    EXPECT_EQ(ScaleFontDimension(0, 2.7f), 0);
    EXPECT_EQ(ScaleFontDimension(13, 1.5f), 20);
    EXPECT_EQ(ScaleFontDimension(-2000000000, 3.0f), std::numeric_limits<std::int32_t>::min());

    EXPECT_FLOAT_EQ(SliderFontFactor(0, 0, 100), 1.0f);
    EXPECT_FLOAT_EQ(SliderFontFactor(25, 0, 100), 1.5f);
    EXPECT_FLOAT_EQ(SliderFontFactor(100, 0, 100), 3.0f);
    EXPECT_FLOAT_EQ(SliderFontFactor(15, 10, 20), 2.0f);
    EXPECT_FLOAT_EQ(SliderFontFactor(5, 5, 5), 1.0f);
    EXPECT_EQ(ScaleFontDimension(-11, SliderFontFactor(50, 0, 100)), -21);
}

// A dialog font's height moved between any two common scales is the height that the
// dialog manager makes from the same point size at the new one.
TEST(FontScale, HeightAtAnotherDpiIsThePointSizeMeasuredThere) {
    const int scales[] = {96, 120, 144, 168, 192, 240, 288};
    const auto heightAt = [](int points, int dpi) { return -((points * dpi + 36) / 72); };
    for (int points = 1; points <= 72; ++points)
        for (int from : scales)
            for (int to : scales)
                ASSERT_EQ(FontDimensionAtDpi(heightAt(points, from), from, to),
                          heightAt(points, to))
                    << points << " points from " << from << " to " << to;

    EXPECT_EQ(FontDimensionAtDpi(0, 96, 192), 0);    // a width the platform matches to the height
    EXPECT_EQ(FontDimensionAtDpi(13, 96, 144), 20);  // a cell height scales in proportion
    EXPECT_EQ(FontDimensionAtDpi(-11, 96, 0), -11);
    EXPECT_EQ(FontDimensionAtDpi(-2000000000, 96, 288), std::numeric_limits<std::int32_t>::min());
}
