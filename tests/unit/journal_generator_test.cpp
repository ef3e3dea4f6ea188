#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "tests/support/journal_generator.h"
#include "journal/journal_matching.h"
#include "journal/journal_reader.h"

namespace {

JournalGeneratorOptions Options(std::size_t entries, std::uint64_t seed) {
    JournalGeneratorOptions options;
    options.entries = entries;
    options.seed = seed;
    return options;
}

}  // namespace

TEST(JournalGenerator, JournalReadsBackAsTheGeneratorMeantIt) {
    for (std::uint64_t seed : {1u, 2u, 77u}) {
        const GeneratedJournal generated = GenerateJournal(Options(3000, seed));
        const JournalParseResult read = ParseJournal(generated.journal);
        EXPECT_EQ(read.warning.kind, JournalWarning::Kind::None);
        ASSERT_EQ(read.entries.size(), generated.expected.size());
        for (std::size_t i = 0; i < read.entries.size(); ++i) {
            ASSERT_EQ(read.entries[i].text, generated.expected[i].text) << i;
            ASSERT_EQ(read.entries[i].heading, generated.expected[i].heading) << i;
        }

        // About one entry in twenty repeats an earlier one.
        EXPECT_GT(read.entries.size(), 3000u * 90 / 100);
        EXPECT_LT(read.entries.size(), 3000u * 99 / 100);
        bool highBytes = false;
        for (const JournalEntry& entry : read.entries) {
            EXPECT_GE(entry.text.size(), 80u);
            EXPECT_LE(entry.text.size(), 600u);
            highBytes |= std::any_of(entry.text.begin(), entry.text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        }
        EXPECT_TRUE(highBytes);
        EXPECT_NE(generated.journal.find('@'), std::string::npos);
        EXPECT_NE(generated.journal.find('#'), std::string::npos);
    }
}

TEST(JournalGenerator, DatabaseHasQuestsOfTheIntendedShape) {
    const GeneratedJournal generated = GenerateJournal(Options(5000, 9));
    std::unordered_map<std::string, int> holders;
    std::size_t items = 0;
    std::size_t finishers = 0;
    for (const Quest& quest : generated.database.quests) {
        EXPECT_GE(quest.items.size(), 1u);
        EXPECT_LE(quest.items.size(), 20u + 3u);  // plus the texts held twice
        for (const QuestItem& item : quest.items) {
            ++holders[item.text];
            ++items;
            finishers += item.finisher;
            EXPECT_EQ(item.journalIndex, -1);
        }
    }
    const std::size_t heldTwice = static_cast<std::size_t>(std::count_if(
        holders.begin(), holders.end(), [](const auto& holder) { return holder.second > 1; }));
    EXPECT_GE(heldTwice, 1u);
    EXPECT_LE(heldTwice, 3u);
    // About a fifth of the entries belong to no quest, a tenth of the items finish one.
    const double inQuests = static_cast<double>(holders.size()) / generated.expected.size();
    EXPECT_NEAR(inQuests, 0.8, 0.05);
    EXPECT_NEAR(static_cast<double>(finishers) / items, 0.1, 0.03);

    ByteBuffer image;
    generated.database.WriteImage(image);
    EXPECT_EQ(image.Bytes(), generated.databaseImage.Bytes());
}

TEST(JournalGenerator, SameSeedSameFilesOtherSeedOtherFiles) {
    const GeneratedJournal first = GenerateJournal(Options(500, 5));
    const GeneratedJournal again = GenerateJournal(Options(500, 5));
    const GeneratedJournal other = GenerateJournal(Options(500, 6));
    EXPECT_EQ(first.journal, again.journal);
    EXPECT_EQ(first.databaseImage.Bytes(), again.databaseImage.Bytes());
    EXPECT_NE(first.journal, other.journal);
}

TEST(JournalMatching, AgreesWithALinearScanOfTheDatabase) {
    JournalGeneratorOptions options = Options(4000, 3);
    options.textsHeldTwice = 40;
    GeneratedJournal generated = GenerateJournal(options);
    std::vector<JournalEntry> journal;
    JournalReader reader(journal);
    reader.Feed(generated.journal);
    reader.Finish();

    // The plain way: reset, then each entry in turn looks its text up.
    QuestDatabase expected = generated.database;
    std::vector<int> expectedCollated(journal.size(), 0);
    expected.ResetJournalIndexes();
    for (std::size_t i = 0; i < journal.size(); ++i) {
        if (QuestItem* item = expected.FindItem(journal[i].text)) {
            item->journalIndex = static_cast<std::int32_t>(i);
            expectedCollated[i] = 1;
        }
    }

    for (Quest& quest : generated.database.quests) {
        for (QuestItem& item : quest.items) item.journalIndex = 12345;  // stale links
    }
    MatchJournal(journal, generated.database);
    std::size_t linked = 0;
    for (std::size_t q = 0; q < expected.quests.size(); ++q) {
        for (std::size_t i = 0; i < expected.quests[q].items.size(); ++i) {
            const std::int32_t index = generated.database.quests[q].items[i].journalIndex;
            ASSERT_EQ(index, expected.quests[q].items[i].journalIndex) << q << "/" << i;
            linked += index >= 0;
        }
    }
    for (std::size_t i = 0; i < journal.size(); ++i) {
        ASSERT_EQ(journal[i].collated, expectedCollated[i]) << i;
    }
    EXPECT_GT(linked, journal.size() / 2);
}
