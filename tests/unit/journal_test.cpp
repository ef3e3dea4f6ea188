#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_lines.h"
#include "journal/journal_matching.h"
#include "journal/journal_messages.h"
#include "journal/journal_reader.h"

namespace {

using Kind = JournalWarning::Kind;

// A code page of one byte per character, and one where 0x81..0x9F and 0xE0..0xFF lead.
bool SingleByte(unsigned char) {
    return false;
}
bool DoubleByteLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9f) || byte >= 0xe0;
}

std::vector<std::string> Texts(const std::vector<JournalEntry>& entries) {
    std::vector<std::string> texts;
    for (const JournalEntry& entry : entries) texts.push_back(entry.text);
    return texts;
}

std::vector<std::string> Headings(const std::vector<JournalEntry>& entries) {
    std::vector<std::string> headings;
    for (const JournalEntry& entry : entries) headings.push_back(entry.heading);
    return headings;
}

std::string Heading(const std::string& words) {
    return "<FONT COLOR=\"9F0000\">" + words + "</FONT><BR>\r\n";
}

std::string Text(const std::string& words) {
    return words + "<P>\r\n";
}

std::string Cleaned(std::string line, void (*step)(std::string&)) {
    step(line);
    return line;
}

}  // namespace

TEST(JournalLines, HeadingIsTheWordsBetweenTheFirstTagAndTheNext) {
    EXPECT_EQ(Cleaned("<FONT COLOR=\"9F0000\">12 Frostmoon (Day 3)</FONT><BR>", ExtractHeading),
              "12 Frostmoon (Day 3)");
    // Words before any tag: the only ">" is the one closing "<BR>".
    EXPECT_EQ(Cleaned("12 Frostmoon<BR>", ExtractHeading), "");
    EXPECT_EQ(Cleaned("<B>a > b<BR>", ExtractHeading), "a > b");
    EXPECT_EQ(Cleaned("no tags at all", ExtractHeading), "no tags at all");
    EXPECT_EQ(Cleaned("", ExtractHeading), "");
}

TEST(JournalLines, EntryTextLosesItsMarksAndEverythingFromTheFirstTag) {
    EXPECT_EQ(Cleaned("Ask @Maerwyn# about the #seal@.<P>", CleanEntryText),
              "Ask Maerwyn about the seal.");
    EXPECT_EQ(Cleaned("@@##x#@#@y@@<P>", CleanEntryText), "xy");
    EXPECT_EQ(Cleaned("Keep <B>this</B> short<P>", CleanEntryText), "Keep ");
    EXPECT_EQ(Cleaned("<I>Begins with a tag</I><P>", CleanEntryText), "");
    EXPECT_EQ(Cleaned("@#@#", CleanEntryText), "");
    // Marks after the first tag go with it; bytes of 0x80 and above stay.
    EXPECT_EQ(Cleaned("K\xF6rnhild @w@<@x#<P>", CleanEntryText), "K\xF6rnhild w");
}

// Texts of any length with every mix of marks, plain bytes, their high-bit look-alikes
// ("@" + 0x80, "#" + 0x80) and zero bytes, thick or sparse, written into a buffer that
// held the previous line, must come out as a byte-by-byte deletion leaves them.
TEST(JournalLines, LongTextsLoseExactlyTheirMarks) {
    const std::string alphabet = std::string("@#ab") + '\xC0' + '\xA3' + '\x80' + '\x00';
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    std::string out;  // reused, as the reader reuses its buffer
    for (int round = 0; round < 2000; ++round) {
        std::string line;
        const std::size_t length = next() % 70;
        const bool sparse = round % 2 == 1;  // long runs then hold no mark at all
        for (std::size_t i = 0; i < length; ++i) {
            char c = alphabet[next() % alphabet.size()];
            if (sparse && (c == '@' || c == '#') && next() % 8 != 0) c = 'a';
            line += c;
        }
        std::string expected;
        for (char c : line) {
            if (c != '@' && c != '#') expected += c;
        }
        AssignCleanEntryText(line, out);
        ASSERT_EQ(out, expected) << "round " << round;
    }
    // Marks only before the text, and marks at both ends of a word.
    EXPECT_EQ(Cleaned("@#@#@#@#x@abcdef#<P>", CleanEntryText), "xabcdef");
    EXPECT_EQ(Cleaned("#abcdef@#abcdef@<P>", CleanEntryText), "abcdefabcdef");
}

TEST(JournalLines, OnlyExactMarkersAtTheVeryEndCount) {
    EXPECT_EQ(ClassifyJournalLine("<FONT>day</FONT><BR>"), JournalLineKind::Heading);
    EXPECT_EQ(ClassifyJournalLine("<BR>"), JournalLineKind::Heading);
    EXPECT_EQ(ClassifyJournalLine("words<P>"), JournalLineKind::Text);
    EXPECT_EQ(ClassifyJournalLine("<P>"), JournalLineKind::Text);
    EXPECT_EQ(ClassifyJournalLine(""), JournalLineKind::Empty);
    EXPECT_EQ(ClassifyJournalLine("day<br>"), JournalLineKind::Unrecognised);
    EXPECT_EQ(ClassifyJournalLine("day<BR> "), JournalLineKind::Unrecognised);
    EXPECT_EQ(ClassifyJournalLine("words<P>\r"), JournalLineKind::Unrecognised);
    EXPECT_EQ(ClassifyJournalLine(" "), JournalLineKind::Unrecognised);
    EXPECT_EQ(ClassifyJournalLine("P>"), JournalLineKind::Unrecognised);
}

TEST(JournalReader, WellFormedJournalGivesEntriesInOrderWithoutWarning) {
    const JournalParseResult result =
        ParseJournal(Heading("1 Frostmoon (Day 1)") + Text("Find the @ferry#.") + "\r\n\r\n" +
                     Heading("2 Frostmoon (Day 2)") + Text("Pay the toll.") + "\r\n");
    EXPECT_EQ(Texts(result.entries),
              (std::vector<std::string>{"Find the ferry.", "Pay the toll."}));
    EXPECT_EQ(Headings(result.entries),
              (std::vector<std::string>{"1 Frostmoon (Day 1)", "2 Frostmoon (Day 2)"}));
    for (const JournalEntry& entry : result.entries) {
        EXPECT_EQ(entry.collated, 0);
        EXPECT_EQ(entry.treeItem, nullptr);
    }
    EXPECT_EQ(result.warning.kind, Kind::None);
    EXPECT_EQ(JournalWarningMessage(result.warning, SingleByte), "");
}

TEST(JournalReader, EmptyFilesGiveNoEntriesAndNoWarning) {
    for (const char* bytes : {"", "\r\n", "\n\n\r\n", "\x1a<P>\r\n"}) {
        const JournalParseResult result = ParseJournal(bytes);
        EXPECT_TRUE(result.entries.empty()) << bytes;
        EXPECT_EQ(result.warning.kind, Kind::None) << bytes;
    }
}

TEST(JournalReader, LinesOutOfOrderAreDroppedWithOneShortWarning) {
    const std::string shortWarning(kJournalFormatWarning);

    // Heading, heading, text: the first heading keeps its claim.
    const JournalParseResult twoHeadings =
        ParseJournal(Heading("first") + Heading("second") + Text("Kept text."));
    EXPECT_EQ(Texts(twoHeadings.entries), (std::vector<std::string>{"Kept text."}));
    EXPECT_EQ(Headings(twoHeadings.entries), (std::vector<std::string>{"first"}));
    EXPECT_EQ(JournalWarningMessage(twoHeadings.warning, SingleByte), shortWarning);

    // A text before any heading, and a text right after another.
    const JournalParseResult orphanTexts =
        ParseJournal(Text("Orphan.") + Heading("day") + Text("Kept.") + Text("Second orphan."));
    EXPECT_EQ(Texts(orphanTexts.entries), (std::vector<std::string>{"Kept."}));
    EXPECT_EQ(Headings(orphanTexts.entries), (std::vector<std::string>{"day"}));
    EXPECT_EQ(JournalWarningMessage(orphanTexts.warning, SingleByte), shortWarning);
}

TEST(JournalReader, UnknownLineIsQuotedInTheLongWarningAndReadingGoesOn) {
    // The unknown line sits between a heading and its text: the heading
    // still waits for the text.
    const JournalParseResult result =
        ParseJournal(Heading("day") + "Some words<br>\r\n" + Text("Still read.") +
                     "trailing<P> \r\n" + Heading("next") + Text("Read too."));
    EXPECT_EQ(Texts(result.entries), (std::vector<std::string>{"Still read.", "Read too."}));
    EXPECT_EQ(Headings(result.entries), (std::vector<std::string>{"day", "next"}));
    EXPECT_EQ(result.warning.kind, Kind::Long);
    EXPECT_EQ(result.warning.line, "Some words<br>");
    EXPECT_EQ(JournalWarningMessage(result.warning, SingleByte),
              std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) +
                  "Some words<br>");
}

TEST(JournalReader, HugeUnknownLineIsQuotedOnlyInPart) {
    const std::string fits(kQuotedLineLimit, 'x');
    EXPECT_EQ(JournalWarningMessage(ParseJournal(fits + "\r\n").warning, SingleByte),
              std::string(kJournalFormatWarning) + std::string(kJournalTroubleLineIntro) + fits);

    // Megabytes in one line: the warning keeps the line, the message a bounded part.
    const std::string huge = "y" + std::string(4 << 20, 'z');
    const JournalParseResult result = ParseJournal(Heading("day") + huge + "\r\n" + Text("After."));
    EXPECT_EQ(result.warning.line, huge);
    EXPECT_EQ(Texts(result.entries), (std::vector<std::string>{"After."}));
    const std::string message = JournalWarningMessage(result.warning, SingleByte);
    const std::string quoted = message.substr(message.find(":\n") + 2);
    EXPECT_EQ(quoted, huge.substr(0, kQuotedLineLimit) + "...");

    // The cut keeps whole characters: one that would end past the limit stays out, and
    // a byte that looks like a lead byte is a trail byte where a character is open.
    const auto quotedPart = [](const std::string& line) {
        const std::string text = JournalWarningMessage({Kind::Long, line}, DoubleByteLead);
        return text.substr(text.find(":\n") + 2);
    };
    const std::string x(kQuotedLineLimit - 1, 'x');
    EXPECT_EQ(quotedPart(x + "\x82\xa0tail"), x + "...");
    EXPECT_EQ(quotedPart(x.substr(1) + "\x82\xa0tail"), x.substr(1) + "\x82\xa0...");
    std::string pairs = "x";
    while (pairs.size() <= kQuotedLineLimit) pairs += "\x82\x82";
    EXPECT_EQ(quotedPart(pairs), pairs.substr(0, kQuotedLineLimit - 1) + "...");
}

TEST(JournalReader, TheFirstBadLineDecidesTheOnlyWarning) {
    const JournalParseResult shortFirst =
        ParseJournal(Text("orphan") + "bad line\r\n" + Heading("h") + Text("t"));
    EXPECT_EQ(shortFirst.warning.kind, Kind::Short);
    EXPECT_EQ(shortFirst.warning.line, "");

    const JournalParseResult longFirst = ParseJournal("first bad\r\n" + Text("orphan") +
                                                      "second bad\r\n" + Heading("h") + Text("t"));
    EXPECT_EQ(longFirst.warning.kind, Kind::Long);
    EXPECT_EQ(longFirst.warning.line, "first bad");
    EXPECT_EQ(Texts(longFirst.entries), (std::vector<std::string>{"t"}));
}

TEST(JournalReader, LineEndsFollowTextModeRules) {
    const std::string lf = "<B>one</B><BR>\nFirst.<P>\n<B>two</B><BR>\nSecond.<P>\n";
    const std::string crlf = "<B>one</B><BR>\r\nFirst.<P>\r\n<B>two</B><BR>\r\nSecond.<P>\r\n";
    const JournalParseResult fromLf = ParseJournal(lf);
    const JournalParseResult fromCrLf = ParseJournal(crlf);
    EXPECT_EQ(Texts(fromLf.entries), (std::vector<std::string>{"First.", "Second."}));
    EXPECT_EQ(Texts(fromCrLf.entries), Texts(fromLf.entries));
    EXPECT_EQ(Headings(fromCrLf.entries), Headings(fromLf.entries));
    EXPECT_EQ(fromCrLf.warning.kind, Kind::None);

    // A carriage return not right before a line feed stays in the line:
    // inside a text it is part of the text, after a marker it spoils it.
    const JournalParseResult loneCr =
        ParseJournal("<B>a\rb</B><BR>\r\nx\ry<P>\r\n<B>c</B><BR>\r\nz<P>\r\r\n");
    EXPECT_EQ(Texts(loneCr.entries), (std::vector<std::string>{"x\ry"}));
    EXPECT_EQ(Headings(loneCr.entries), (std::vector<std::string>{"a\rb"}));
    EXPECT_EQ(loneCr.warning.kind, Kind::Long);
    EXPECT_EQ(loneCr.warning.line, "z<P>\r");
}

TEST(JournalReader, FileEndsAtCtrlZOrAtItsLastByte) {
    // Nothing after byte 26 is read, not even the rest of its line.
    const JournalParseResult ctrlZ =
        ParseJournal(Heading("h") + Text("Before.") + Heading("g") + "Cut\x1a off.<P>\r\n" +
                     Heading("i") + Text("After."));
    EXPECT_EQ(Texts(ctrlZ.entries), (std::vector<std::string>{"Before."}));
    EXPECT_EQ(ctrlZ.warning.kind, Kind::Long);
    EXPECT_EQ(ctrlZ.warning.line, "Cut");

    // A last line without a line end is still a line.
    const JournalParseResult noLineEnd = ParseJournal(Heading("h") + "Last.<P>");
    EXPECT_EQ(Texts(noLineEnd.entries), (std::vector<std::string>{"Last."}));
    EXPECT_EQ(noLineEnd.warning.kind, Kind::None);

    // A heading as the last line waits for a text that never comes: it is
    // dropped without a word.
    for (const std::string tail : {"<B>late</B><BR>", "<B>late</B><BR>\r\n\r\n"}) {
        const JournalParseResult danglingHeading = ParseJournal(Heading("h") + Text("t") + tail);
        EXPECT_EQ(Texts(danglingHeading.entries), (std::vector<std::string>{"t"}));
        EXPECT_EQ(danglingHeading.warning.kind, Kind::None);
    }
}

TEST(JournalReader, RepeatedTextKeepsItsFirstEntryAndHeading) {
    const JournalParseResult result =
        ParseJournal(Heading("Day 1") + Text("Meet @Tolvar# at the mill.") + Heading("Day 2") +
                     Text("Other news.") + Heading("Day 3") + Text("Meet Tolvar at the #mill@.") +
                     Heading("Day 4") + Text("Meet Tolvar at the mill.<I>again</I>"));
    EXPECT_EQ(Texts(result.entries),
              (std::vector<std::string>{"Meet Tolvar at the mill.", "Other news."}));
    EXPECT_EQ(Headings(result.entries), (std::vector<std::string>{"Day 1", "Day 2"}));
    EXPECT_EQ(result.warning.kind, Kind::None);
}

TEST(JournalReader, ManyShortTextsStayDistinctWhileTheListGrows) {
    // Short texts live inside their strings, which move whenever the list
    // grows: the duplicate check must still see every earlier text.
    std::string journal;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3000; ++i) journal += Heading("d") + Text("t" + std::to_string(i));
    }
    const JournalParseResult result = ParseJournal(journal);
    ASSERT_EQ(result.entries.size(), 3000u);
    for (int i = 0; i < 3000; ++i) EXPECT_EQ(result.entries[i].text, "t" + std::to_string(i));
}

TEST(JournalReader, ChunkBoundariesChangeNothing) {
    const std::string journal =
        Text("orphan") + Heading("<I>Day</I> 1") + Text("First @long# " + std::string(300, 'x')) +
        "\r\n\n" + Heading("Day 2") + "Lone\rCR.<P>\n" + Heading("Day 3") + "\r" + Text("odd") +
        "bad<br>\r\n" + Heading("Day 4") + Text("First long " + std::string(300, 'x')) +
        Heading("Day 5") + "No line end.<P>\r";
    const JournalParseResult whole = ParseJournal(journal);
    ASSERT_EQ(whole.entries.size(), 3u);
    ASSERT_EQ(whole.warning.kind, Kind::Short);

    for (std::size_t chunk = 1; chunk <= journal.size(); ++chunk) {
        std::vector<JournalEntry> entries;
        JournalReader reader(entries);
        for (std::size_t at = 0; at < journal.size(); at += chunk) {
            reader.Feed(journal.data() + at, std::min(chunk, journal.size() - at));
        }
        reader.Finish();
        EXPECT_EQ(Texts(entries), Texts(whole.entries)) << "chunk " << chunk;
        EXPECT_EQ(Headings(entries), Headings(whole.entries)) << "chunk " << chunk;
        EXPECT_EQ(reader.Warning().kind, whole.warning.kind) << "chunk " << chunk;
    }
}

TEST(JournalReader, NewReadEmptiesTheListAndStopsAtCtrlZAcrossChunks) {
    std::vector<JournalEntry> journal(3);
    JournalReader reader(journal);
    EXPECT_TRUE(journal.empty());
    reader.Feed(Heading("h") + "Kept.<");
    reader.Feed("P>\x1a");
    reader.Feed(Heading("g") + Text("Ignored after the end."));
    reader.Finish();
    EXPECT_EQ(Texts(journal), (std::vector<std::string>{"Kept."}));
}

TEST(JournalMatching, FirstItemInDatabaseOrderTakesTheEntry) {
    QuestDatabase database;
    database.quests.resize(3);
    database.AddItem(database.quests[0], "Not in the journal.", 7, false);
    database.AddItem(database.quests[0], "Second entry.", 5, true);
    database.AddItem(database.quests[1], "First entry.", -1, false);
    database.AddItem(database.quests[1], "Second entry.", 1, false);  // held twice: never linked
    database.AddItem(database.quests[2], "First entry.", 0, false);   // likewise

    std::vector<JournalEntry> journal =
        ParseJournal(Heading("1") + Text("First entry.") + Heading("2") + Text("Unknown entry.") +
                     Heading("3") + Text("Second entry."))
            .entries;
    MatchJournal(journal, database);
    EXPECT_EQ(database.quests[0].items[0].journalIndex, -1);
    EXPECT_EQ(database.quests[0].items[1].journalIndex, 2);
    EXPECT_EQ(database.quests[1].items[0].journalIndex, 0);
    EXPECT_EQ(database.quests[1].items[1].journalIndex, -1);
    EXPECT_EQ(database.quests[2].items[0].journalIndex, -1);
    EXPECT_EQ(journal[0].collated, 1);
    EXPECT_EQ(journal[1].collated, 0);
    EXPECT_EQ(journal[2].collated, 1);

    // Matching again after quests went away clears the marks they backed.
    database.quests.resize(1);
    MatchJournal(journal, database);
    EXPECT_EQ(database.quests[0].items[1].journalIndex, 2);
    EXPECT_EQ(journal[0].collated, 0);
    EXPECT_EQ(journal[2].collated, 1);

    // The game adds an entry in front on the next read: every link is
    // worked out afresh.
    journal = ParseJournal(Heading("0") + Text("Second entry.") + Heading("1") + Text("Brand new."))
                  .entries;
    MatchJournal(journal, database);
    EXPECT_EQ(database.quests[0].items[0].journalIndex, -1);
    EXPECT_EQ(database.quests[0].items[1].journalIndex, 0);
    EXPECT_EQ(journal[0].collated, 1);
    EXPECT_EQ(journal[1].collated, 0);
}

TEST(JournalMatching, TextsMatchOnlyByteForByte) {
    QuestDatabase database;
    database.quests.resize(1);
    database.AddItem(database.quests[0], "Ask the smith.", -1, false);
    database.AddItem(database.quests[0], "ask the smith.", -1, false);
    database.AddItem(database.quests[0], "", -1, false);
    std::vector<JournalEntry> journal =
        ParseJournal(Heading("1") + Text("Ask the smith. ") + Heading("2") +
                     Text("ask the smith.") + Heading("3") + Text("<I>empty</I>"))
            .entries;
    MatchJournal(journal, database);
    EXPECT_EQ(database.quests[0].items[0].journalIndex, -1);
    EXPECT_EQ(database.quests[0].items[1].journalIndex, 1);
    EXPECT_EQ(database.quests[0].items[2].journalIndex, 2);
    EXPECT_EQ(journal[0].collated, 0);
    EXPECT_EQ(journal[2].collated, 1);
}

TEST(JournalMessages, OpenFailureNamesThePath) {
    EXPECT_EQ(JournalOpenFailedMessage("C:\\Game\\journal.htm"),
              "Can't find the journal file named \"C:\\Game\\journal.htm\"\n.");
}
