#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "journal/journal_reader.h"
#include "lbdtool/check.h"
#include "lbdtool/merge.h"
#include "lbdtool/system.h"
#include "lbdtool/text_encoding.h"
#include "lbdtool/text_form.h"
#include "questdb/quest_database.h"
#include "tests/support/test_files.h"

using namespace std::string_literals;

namespace {

QuestDatabase Read(const std::string& image) {
    QuestDatabase database;
    const ImageReadResult read =
        database.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    EXPECT_FALSE(read.damaged);
    return database;
}

// Quests from "[a,*b][]" notation, read through the text form's builder's own path.
QuestDatabase Make(const std::vector<std::vector<std::string>>& quests) {
    QuestDatabase database;
    for (const auto& texts : quests) {
        Quest* quest = database.AppendQuest(Quest{});
        for (const std::string& text : texts) {
            const bool finisher = !text.empty() && text[0] == '*';
            database.AddItem(*quest, finisher ? text.substr(1) : text, -1, finisher);
        }
    }
    return database;
}

TEST(TextForm, DumpThenBuildGivesTheSameImageForEveryAwkwardText) {
    const std::string texts[] = {
        "",           "!x",        "! x",          "#not a comment",   " leading blank",
        "trailing  ", "tab\there", "cr\rinside",   "line\nfeed",       "ends in eof\x1A",
        "100%",       "%none",     "%41",          "caf\xE9 \x80\xFF", "\x95\x5C\x95\x5C",
        "\x7F",       " ",         "ends in tab\t"};
    std::string image = Count(5);
    image += Count(0);  // a quest with no items first
    image += Count(std::size(texts));
    for (const std::string& text : texts) image += Item('\0', text);
    image += Count(3) + Item('\x01', "finisher byte 01") + Item('\xFF', "") + Item('\xFF', "!x");
    image += Count(0);
    image += Count(1) + Item('\0', "!x");  // a text held twice
    const std::string expected = image;
    image += "bytes after the last quest";

    QuestDatabase original = Read(image);
    const std::string text = DumpText(original);
    QuestDatabase built;
    EXPECT_TRUE(ParseText(text, built).empty()) << text;
    std::string normalised = expected;
    normalised[normalised.find("finisher byte 01") - 1] = '\xFF';
    EXPECT_EQ(ImageOf(built), normalised);

    // Readable where it can be: only what would otherwise mean something else is escaped,
    // and bytes above 0x7F (a double-byte character's backslash too) stay as they are.
    EXPECT_EQ(text.substr(text.find("\n# Quest 1\n")),
              "\n# Quest 1\n%none\n"
              "\n# Quest 2\n%\n%21x\n%21 x\n%23not a comment\n%20leading blank\ntrailing %20\n"
              "tab%09here\ncr%0Dinside\nline%0Afeed\nends in eof%1A\n100%25\n%25none\n%2541\n"
              "caf\xE9 \x80\xFF\n\x95\x5C\x95\x5C\n%7F\n%20\nends in tab%09\n"
              "\n# Quest 3\n! finisher byte 01\n! %\n! %21x\n"
              "\n# Quest 4\n%none\n"
              "\n# Quest 5\n%21x\n");
}

TEST(TextForm, ReadsWhatAnEditorLeavesAsTheSameDatabase) {
    // CR LF line ends, comments inside and between blocks, several empty lines and a
    // line of blanks between blocks, no line end after the last line.
    const std::string text =
        "# my quests\r\n"
        "\r\n"
        "The bridge keeper wants a toll.\r\n"
        "# a note inside the block\r\n"
        "! I paid the toll.\r\n"
        "\r\n"
        "   \r\n"
        "\r\n"
        "A lone entry with a 100%25 mark\r\n"
        "\r\n"
        "! %\r\n"
        "Lower-case hex: %e9";
    QuestDatabase database;
    EXPECT_TRUE(ParseText(text, database).empty());
    EXPECT_EQ(DescribeQuests(database),
              "[The bridge keeper wants a toll.,*I paid the toll.][A lone entry with a 100% "
              "mark][*,Lower-case hex: \xE9]");

    QuestDatabase none;
    EXPECT_TRUE(ParseText("# only comments\n\n", none).empty());
    EXPECT_EQ(ImageOf(none), Count(0));
}

TEST(TextForm, NamesEachLineItCantTakeAndWhy) {
    const std::string text =
        "!no blank after the mark\n"  // 1
        "! \n"                        // 2
        " begins with a blank\n"      // 3
        "ends in a blank \n"          // 4
        "half an escape %4\n"         // 5
        "not hex %zz\n"               // 6
        "zero %00 byte\n"             // 7
        "raw\ttab\n"                  // 8
        "\n"
        "%none\n"
        "an item beside it\n"  // 11
        "\n"
        "! %none\n"  // 13
        "a good line\n";
    QuestDatabase database;
    const std::vector<TextLineError> errors = ParseText(text, database);
    std::vector<std::size_t> numbers;
    for (const TextLineError& error : errors) numbers.push_back(error.line);
    EXPECT_EQ(numbers, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7, 8, 11, 13}));
    ASSERT_EQ(errors.size(), 10u);
    EXPECT_NE(errors[0].reason.find("%21"), std::string::npos) << errors[0].reason;
    EXPECT_NE(errors[2].reason.find("%20"), std::string::npos) << errors[2].reason;
    EXPECT_NE(errors[4].reason.find("two hexadecimal digits"), std::string::npos);
    EXPECT_NE(errors[6].reason.find("byte 0"), std::string::npos);
    EXPECT_NE(errors[7].reason.find("%09"), std::string::npos) << errors[7].reason;
    EXPECT_NE(errors[8].reason.find("stands alone"), std::string::npos);
}

std::string Utf16(const std::u32string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (char32_t c : text) {
        if (c < 0x10000) {
            unit(c);
        } else {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// Generated texts of lines with every kind of character the system code page holds
// (on Windows here 1252; natively UTF-8, which holds them all), in each encoding.
TEST(TextEncoding, UnicodeWithAByteOrderMarkReadsAsTheSameTextInTheSystemCodePage) {
    const std::u32string pool = U"aZ %!#\t\r\x7F\u00E9\u00C6\u00FF\u20AC\u0141\u65E5\U0001F409";
    std::u32string held;
    for (char32_t c : pool) {
        std::string probe;
        if (AppendInSystemCodePage(std::u32string_view(&c, 1), probe)) held += c;
    }
    std::uint32_t state = 2463534242u;
    for (int round = 0; round < 200; ++round) {
        std::u32string text;
        for (int i = round % 40; i >= 0; --i) {
            state ^= state << 13, state ^= state >> 17, state ^= state << 5;
            text += state % 5 == 0 ? U'\n' : held[state % held.size()];
        }
        std::string plain, utf8 = "\xEF\xBB\xBF";
        ASSERT_TRUE(AppendInSystemCodePage(text, plain));
        for (char32_t c : text) AppendUtf8(c, utf8);
        for (const std::string& file : {utf8, Utf16(text, false), Utf16(text, true)}) {
            std::vector<TextLineError> errors;
            EXPECT_EQ(InSystemCodePage(file, errors), plain);
            EXPECT_TRUE(errors.empty());
        }
    }

    // Without a mark every byte stands for itself, a lone 0xFF included.
    std::vector<TextLineError> errors;
    EXPECT_EQ(InSystemCodePage("\xFF\x00plain\xEF\xBB"s, errors), "\xFF\x00plain\xEF\xBB"s);
    EXPECT_TRUE(errors.empty());
}

TEST(TextEncoding, NamesTheLinesItsEncodingOrTheCodePageCantTake) {
    auto lines = [](const std::string& file) {
        std::vector<TextLineError> errors;
        InSystemCodePage(file, errors);
        std::vector<std::size_t> numbers;
        for (const TextLineError& error : errors) numbers.push_back(error.line);
        return numbers;
    };
    // A stray continuation, a cut sequence, an overlong slash, a surrogate, a cut end.
    EXPECT_EQ(lines("\xEF\xBB\xBFok\n\x80\nok\n\xC3\n\xC0\xAF\n\xED\xA0\x80\nok\n\xF0\x9F"),
              (std::vector<std::size_t>{2, 4, 5, 6, 8}));
    // A lone low surrogate, a high one before a letter, half a unit at the end.
    EXPECT_EQ(lines(Utf16(U"ok\n\xDC00\n\xD800x\nok\n", false) + "!"),
              (std::vector<std::size_t>{2, 3, 5}));

    std::string probe;
    if (AppendInSystemCodePage(U"\u0141", probe)) return;  // UTF-8 lacks nothing
    std::vector<TextLineError> errors;
    InSystemCodePage(Utf16(U"Warsaw\r\nKrak\u00F3w\r\n\u0141\u00F3d\u017A\r\n", false), errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].line, 3u);
    EXPECT_NE(errors[0].reason.find("\"\xC5\x81\" (U+0141)"), std::string::npos)
        << errors[0].reason;
}

TEST(Check, FindsUnusedRepeatsEmptyQuestsAndTextsNoEntryCanHave) {
    QuestDatabase database = Make({{"a", "b", "a"},
                                   {},
                                   {"b", "tagged <b>", "@marked#"},
                                   {"two\nlines", "end\x1A", "fine\r"}});
    EXPECT_EQ(CheckDatabase(database),
              (std::vector<std::string>{
                  "quest 1, item 3: the same text as quest 1, item 1, which takes the entry, so "
                  "this item is never used",
                  "quest 2: no items",
                  "quest 3, item 1: the same text as quest 1, item 2, which takes the entry, so "
                  "this item is never used",
                  "quest 3, item 2: no journal entry can have this text: it holds \"<\"",
                  "quest 3, item 3: no journal entry can have this text: it holds \"@\" and \"#\"",
                  "quest 4, item 1: no journal entry can have this text: it holds a line feed",
                  "quest 4, item 2: no journal entry can have this text: it holds byte 26",
              }));

    QuestDatabase sound = Make({{"a", "*b"}, {"c"}});
    EXPECT_TRUE(CheckDatabase(sound).empty());
}

TEST(Check, JournalFiguresCountWhatTheProgramShows) {
    QuestDatabase database = Make({{"Find the ferry.", "*Pay the toll."},
                                   {"Ask about the seal.", "*Never reached."},
                                   {"Pay the toll."},  // repeated: the first quest takes it
                                   {"Nobody has met this."},
                                   {}});
    JournalParseResult read = ParseJournal(
        "<B>1</B><BR>\nFind the @ferry#.<P>\n"
        "<B>2</B><BR>\nAsk about the seal.<P>\n"
        "<B>3</B><BR>\nPay the toll.<P>\n"
        "<B>4</B><BR>\nA stranger's tale.<P>\n"
        "<B>5</B><BR>\nFind the ferry.<P>\n");
    const JournalFigures figures = MeasureJournal(read.entries, database);
    EXPECT_EQ(figures.entries, 4u) << "the repeated entry counts once, as the program lists it";
    EXPECT_EQ(figures.questsReached, 2u);
    EXPECT_EQ(figures.questsFinished, 1u);
    EXPECT_EQ(figures.itemsReached, 3u);
    EXPECT_EQ(figures.entriesUnheld, 1u);
}

// The rules themselves are the core's; here, the lines lbdtool tells them in.
TEST(Merge, ReportsEachOfTheirQuestsThatChangedSomethingThenTheCounts) {
    QuestDatabase mine = Make({{"a1", "*a2", "a1"}, {"b1"}, {"c1", "c2"}});
    const QuestDatabase theirs = Make({
        {},                           // 1: no items: not named
        {"n1", "*n2", "n1"},          // 2: a new quest
        {"x", "a2", "y", "a1", "y"},  // 3: joins quest 1; a2's flag differs
        {"b1", "c2", "z"},            // 4: left out
        {"*n2", "m"},                 // 5: joins the quest that 2 added
        {"c1", "c2"},                 // 6: held already: not named
    });
    EXPECT_EQ(MergeReportLines(PlanMerge(mine, theirs)),
              (std::vector<std::string>{
                  "their quest 2: added as quest 4, with 2 items",
                  "their quest 3, item 2: no finisher there, a finisher here (quest 1, item 2), "
                  "which stays as it is here",
                  "their quest 3: 2 items added to quest 1",
                  "their quest 4: left out, its texts belong to quests 2 and 3 here",
                  "their quest 5: 1 item added to quest 4",
                  "1 quest added, 3 items added to existing quests, 1 quest left out, 1 finisher "
                  "flag disagreed",
              }));
}

}  // namespace
