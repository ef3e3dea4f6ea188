#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "questdb/kept_edits.h"
#include "questdb/quest_database.h"
#include "tests/support/test_files.h"

using namespace std::string_literals;

namespace {

ImageReadResult Load(QuestDatabase& db, const std::string& image) {
    return db.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
}

bool AllJournalIndexesUnset(const QuestDatabase& db) {
    for (const Quest& quest : db.quests) {
        for (const QuestItem& item : quest.items) {
            if (item.journalIndex != -1) return false;
        }
    }
    return true;
}

const char kSet = '\xFF';

// [a,*bc] at offsets 4..14, [] at 15..18, [d] at 19..25.
const std::string kThreeQuests =
    Count(3) + Count(2) + Item(0, "a") + Item(kSet, "bc") + Count(0) + Count(1) + Item(0, "d");

}  // namespace

TEST(QuestImage, TheSmallestImagesReadAndWriteExactly) {
    QuestDatabase db;
    EXPECT_EQ(ImageOf(db), "\0\0\0\0"s);

    db.AddItem(*db.AddQuest("ab", 3, false), "abc", 4, true);
    const std::string example = "\x01\0\0\0\x02\0\0\0\0\x61\x62\0\xFF\x61\x62\x63\0"s;
    EXPECT_EQ(ImageOf(db), example);

    QuestDatabase loaded;
    const ImageReadResult result = Load(loaded, example);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(result.bytesParsed, 17u);
    EXPECT_EQ(DescribeQuests(loaded), "[ab,*abc]");
    EXPECT_TRUE(AllJournalIndexesUnset(loaded));

    EXPECT_FALSE(Load(loaded, "\0\0\0\0"s).damaged);
    EXPECT_EQ(DescribeQuests(loaded), "");

    // Each level's buffer ends up holding exactly its own record.
    ByteBuffer buffer;
    buffer.Resize(40);
    db.quests[0].items[1].WriteImage(buffer);
    EXPECT_EQ(std::string(buffer.Bytes().begin(), buffer.Bytes().end()), Item(kSet, "abc"));
    db.quests[0].WriteImage(buffer);
    EXPECT_EQ(buffer.Size(), 13u);
}

TEST(QuestImage, RewritingAFileKeepsEveryByteButFinisherValuesAndTrailingBytes) {
    const std::string file = Count(3) + Count(3) + Item(1, "caf\xE9") + Item(0, "") +
                             Item('\x80', "\x80\xFF\x81 x") + Count(0) + Count(2) +
                             Item(0, "same") + Item(0, "same") + "trailing junk";
    QuestDatabase db;
    const ImageReadResult result = Load(db, file);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(result.bytesParsed, file.size() - 13);
    EXPECT_EQ(DescribeQuests(db), "[*caf\xE9,,*\x80\xFF\x81 x][][same,same]");

    const std::string expected = Count(3) + Count(3) + Item(kSet, "caf\xE9") + Item(0, "") +
                                 Item(kSet, "\x80\xFF\x81 x") + Count(0) + Count(2) +
                                 Item(0, "same") + Item(0, "same");
    EXPECT_EQ(ImageOf(db), expected);
    QuestDatabase again;
    Load(again, ImageOf(db));
    EXPECT_EQ(ImageOf(again), expected);
}

TEST(QuestImage, AZeroByteInATextCannotSpoilTheRecordsAfterIt) {
    QuestDatabase db;
    db.AddItem(*db.AddQuest("cut\0here"s, -1, true), "next", -1, false);
    QuestDatabase loaded;
    EXPECT_FALSE(Load(loaded, ImageOf(db)).damaged);
    EXPECT_EQ(DescribeQuests(loaded), "[*cut,next]");
}

TEST(QuestImage, EveryTruncationKeepsTheRecordsReadCompletely) {
    struct Expected {
        std::size_t upTo;  // for lengths below this
        const char* kept;
        std::size_t itemsKept;
        std::size_t bytesParsed;
    };
    // A quest cut short keeps its complete items, and is dropped when it has none.
    const Expected table[] = {
        {4, "", 0, 0},          {11, "", 0, 4},           {15, "[a]", 1, 11},
        {19, "[a,*bc]", 2, 15}, {26, "[a,*bc][]", 2, 19},
    };
    std::size_t row = 0;
    for (std::size_t length = 0; length < kThreeQuests.size(); ++length) {
        while (length >= table[row].upTo) ++row;
        SCOPED_TRACE("length " + std::to_string(length));
        QuestDatabase db;
        // A copy of exactly `length` bytes, so ASan sees any read past them.
        const std::vector<std::uint8_t> bytes(kThreeQuests.begin(), kThreeQuests.begin() + length);
        const ImageReadResult result = db.ReadImage(bytes.data(), bytes.size());
        EXPECT_TRUE(result.damaged);
        EXPECT_EQ(DescribeQuests(db), table[row].kept);
        EXPECT_EQ(result.bytesParsed, table[row].bytesParsed);
        EXPECT_EQ(result.questsKept, db.quests.size());
        EXPECT_EQ(result.itemsKept, table[row].itemsKept);
    }
    QuestDatabase db;
    EXPECT_FALSE(Load(db, kThreeQuests).damaged);
    EXPECT_EQ(DescribeQuests(db), "[a,*bc][][d]");
}

TEST(QuestImage, ImpossibleCountsAreDamageNotAllocations) {
    const std::string goodQuest = Count(1) + Item(0, "ok");
    QuestDatabase db;
    ImageReadResult result = Load(db, Count(0x7FFFFFFF) + goodQuest);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(DescribeQuests(db), "[ok]");

    result = Load(db, Count(2) + goodQuest + Count(0x7FFFFFFF) + Item(0, "more"));
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(DescribeQuests(db), "[ok][more]");
    EXPECT_EQ(result.itemsKept, 2u);

    result = Load(db, Count(2) + goodQuest + Count(0xFFFFFFFE) + Item(0, "lost"));
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(DescribeQuests(db), "[ok]");

    EXPECT_TRUE(Load(db, Count(0x80000000)).damaged);
    EXPECT_EQ(DescribeQuests(db), "");
    EXPECT_TRUE(db.ReadImage(nullptr, 0).damaged);
    EXPECT_EQ(DescribeQuests(db), "");
}

TEST(QuestDatabaseModel, LookupsFindTheFirstOfRepeatedTextsAndExactBytesOnly) {
    QuestDatabase db;
    EXPECT_EQ(db.FindItem("x"), nullptr);
    EXPECT_EQ(db.FindQuest("x"), nullptr);
    Load(db, Count(2) + Count(2) + Item(0, "a") + Item(0, "x") + Count(1) + Item(kSet, "x"));

    EXPECT_EQ(db.FindItem("x"), &db.quests[0].items[1]);
    EXPECT_EQ(db.FindQuest("x"), &db.quests[0]);
    EXPECT_EQ(db.FindItem("X"), nullptr);
    EXPECT_EQ(db.FindItem("x "), nullptr);
    EXPECT_EQ(db.FindItem(""), nullptr);

    // A copy answers with its own items.
    QuestDatabase copy = db;
    EXPECT_EQ(copy.FindItem("x"), &copy.quests[0].items[1]);

    // The first holder goes: the later repeat becomes the one found.
    db.RemoveItem(db.FindQuest("x"), db.FindItem("x"));
    EXPECT_EQ(db.FindItem("x"), &db.quests[1].items[0]);
    EXPECT_TRUE(db.FindItem("x")->finisher);
}

TEST(QuestDatabaseModel, AddQuestAppendsOnlyTextsNoItemHolds) {
    QuestDatabase db;
    Quest* first = db.AddQuest("one", 7, true);
    ASSERT_NE(first, nullptr);
    db.AddItem(*first, "two", -1, false);
    db.AddQuest("three", -1, false);

    const std::string before = ImageOf(db);
    for (const char* present : {"one", "two", "three"}) {
        EXPECT_EQ(db.AddQuest(present, 1, false), nullptr);
        EXPECT_EQ(db.AddQuest(present, -1, true), nullptr);
    }
    EXPECT_EQ(ImageOf(db), before);
    EXPECT_EQ(db.quests.size(), 2u);

    Quest* added = db.AddQuest("One", 5, false);
    ASSERT_EQ(added, &db.quests.back());
    EXPECT_EQ(added->items[0].journalIndex, 5);
    EXPECT_EQ(db.FindQuest("One"), added);
    EXPECT_EQ(db.FindItem("one")->journalIndex, 7);
}

TEST(QuestDatabaseModel, RemovingItemsClosesGapsAndDropsEmptiedQuests) {
    QuestDatabase db;
    db.AddItem(*db.AddQuest("a1", -1, false), "a2", -1, false);
    db.AddItem(db.quests.back(), "a3", -1, false);
    db.AddQuest("b1", -1, false);
    db.AddQuest("c1", -1, false);

    db.RemoveItem(db.FindQuest("a2"), db.FindItem("a2"));
    EXPECT_EQ(DescribeQuests(db), "[a1,a3][b1][c1]");
    db.RemoveItem(db.FindQuest("b1"), db.FindItem("b1"));
    EXPECT_EQ(DescribeQuests(db), "[a1,a3][c1]");
    EXPECT_EQ(db.FindQuest("c1"), &db.quests[1]);
    EXPECT_EQ(db.FindItem("b1"), nullptr);

    // An item that isn't the quest's own, or no quest at all: nothing happens.
    QuestDatabase other = db;
    db.RemoveItem(db.FindQuest("a1"), db.FindItem("c1"));
    db.RemoveItem(other.FindQuest("a1"), other.FindItem("a1"));
    db.RemoveItem(nullptr, db.FindItem("a1"));
    EXPECT_EQ(DescribeQuests(db), "[a1,a3][c1]");
}

TEST(QuestDatabaseModel, AQuestIsFinishedOnlyByAFinisherInTheJournal) {
    QuestDatabase db;
    Quest* quest = db.AddQuest("start", 0, false);
    QuestItem* end = db.AddItem(*quest, "end", -1, true);
    EXPECT_FALSE(quest->IsFinished());
    end->journalIndex = 1;
    EXPECT_TRUE(quest->IsFinished());

    db.ClearFinishers();
    EXPECT_FALSE(quest->IsFinished());
    EXPECT_EQ(DescribeQuests(db), "[start,end]");
    db.ResetJournalIndexes();
    EXPECT_TRUE(AllJournalIndexesUnset(db));
    EXPECT_FALSE(Quest().IsFinished());
}

// Texts that differ in one byte only, at any place and of any length, each
// find their own item, and a longer or shorter text finds none.
TEST(QuestDatabaseModel, EveryByteOfEveryLengthCounts) {
    QuestDatabase db;
    std::vector<std::string> texts;
    for (std::size_t length = 1; length <= 70; ++length) {
        const std::string text(length, 'a');
        texts.push_back(text);
        for (std::size_t at = 0; at < length; ++at) {
            std::string changed = text;
            changed[at] = static_cast<char>(0xE1);
            texts.push_back(changed);
        }
    }
    for (const std::string& text : texts) ASSERT_NE(db.AddQuest(text, -1, false), nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i)
        ASSERT_EQ(db.FindItem(texts[i]), &db.quests[i].items[0]) << "text " << i;
    EXPECT_EQ(db.FindItem(std::string(71, 'a')), nullptr);
    EXPECT_EQ(db.FindItem(""), nullptr);
}

// The index must give what a plain scan in database order gives, after any
// sequence of changes, with texts often held twice.
TEST(QuestDatabaseModel, IndexedLookupsAgreeWithALinearScan) {
    std::mt19937 random(20240611);
    auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::vector<std::string> texts = {"", "a", "b", "A", "a ", "c", "dd", "e\xE9"};
    QuestDatabase db;
    for (int step = 0; step < 3000; ++step) {
        const std::string& text = texts[pick(texts.size())];
        switch (pick(8)) {
            case 0:
                db.AddQuest(text, -1, false);
                break;
            case 1:
                if (!db.quests.empty())
                    db.AddItem(db.quests[pick(db.quests.size())], text, -1, false);
                break;
            case 2:
                if (QuestItem* item = db.FindItem(text)) db.RemoveItem(db.FindQuest(text), item);
                break;
            case 3: {  // by hand, as documented
                if (db.quests.empty() || db.quests[0].items.empty()) break;
                db.quests[0].items[pick(db.quests[0].items.size())].text = text;
                db.InvalidateIndex();
                break;
            }
            case 4:
                Load(db, ImageOf(db));
                break;
            case 5: {  // anywhere, into a quest or as a new one
                const std::size_t q = pick(db.quests.size() + 1);
                const bool newQuest = q == db.quests.size() || random() % 3 == 0;
                const std::size_t i = newQuest ? 0 : pick(db.quests[q].items.size() + 1);
                ASSERT_NE(db.InsertItem(q, i, newQuest, text, random() % 2 == 0), nullptr);
                EXPECT_EQ(db.InsertItem(q, db.quests[q].items.size() + 1, false, text, false),
                          nullptr);
                EXPECT_EQ(db.InsertItem(db.quests.size(), 0, false, text, false), nullptr);
                break;
            }
            case 6: {  // any item, the first holder of its text or not
                if (db.quests.empty()) break;
                Quest& quest = db.quests[pick(db.quests.size())];
                if (!quest.items.empty())
                    db.RemoveItem(&quest, &quest.items[pick(quest.items.size())]);
                break;
            }
            default:
                db.quests.emplace(db.quests.begin());
                db.InvalidateIndex();
                break;
        }
        for (const std::string& wanted : texts) {
            QuestItem* firstItem = nullptr;
            Quest* firstQuest = nullptr;
            for (Quest& quest : db.quests) {
                for (QuestItem& item : quest.items) {
                    if (firstItem == nullptr && item.text == wanted) {
                        firstItem = &item;
                        firstQuest = &quest;
                    }
                }
            }
            ASSERT_EQ(db.FindItem(wanted), firstItem) << "step " << step;
            ASSERT_EQ(db.FindQuest(wanted), firstQuest) << "step " << step;
            ASSERT_EQ(db.FindQuestAndItem(wanted), std::make_pair(firstQuest, firstItem));
        }
    }
}

// Texts changed by hand without InvalidateIndex() break the contract, but
// lookups must still stay inside the data and give plain answers.
TEST(QuestDatabaseModel, LookupAfterAnUnannouncedShrinkStaysInBounds) {
    QuestDatabase db;
    for (int q = 0; q < 50; ++q) db.AddQuest("quest " + std::to_string(q), -1, false);
    const std::vector<std::string_view> wanted = {"quest 49", "quest 3", "none", "quest 48"};
    ASSERT_NE(db.FindItem(wanted[0]), nullptr);  // builds the index
    db.quests.resize(10);                        // no InvalidateIndex()
    std::vector<QuestItem*> found;
    for (std::string_view text : wanted) found.push_back(db.FindItem(text));
    EXPECT_EQ(found, (std::vector<QuestItem*>{nullptr, &db.quests[3].items[0], nullptr, nullptr}));
}

// Random edits of every kind the program makes, in random order: the kept edits always
// bring back exactly the edited database, say nothing when it is the saved one again,
// and stay small for small edits of a large database.
TEST(KeptEdits, BringBackEveryEditedDatabaseExactly) {
    std::mt19937 random(20261209);
    auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 300; ++round) {
        QuestDatabase database;
        const std::size_t quests = 1 + pick(40);
        for (std::size_t q = 0; q < quests; ++q) {
            Quest quest;
            for (std::size_t i = pick(4); i > 0; --i)
                quest.items.push_back({"text " + std::to_string(pick(30)), pick(3) == 0, -1});
            database.AppendQuest(quest);
        }
        const std::string savedBytes = ImageOf(database);
        SavedImage saved;
        saved.Take(database);

        for (std::size_t edits = 1 + pick(4); edits > 0; --edits) {
            Quest& quest = database.quests[pick(database.quests.size())];
            switch (pick(7)) {
                case 0:
                    database.AddQuest("new " + std::to_string(pick(1000)), -1, false);
                    break;
                case 5: {
                    // As undoing a removal would: a quest back in the middle.
                    Quest back;
                    back.items.push_back({"back " + std::to_string(pick(1000)), false, -1});
                    database.quests.insert(database.quests.begin() + pick(database.quests.size()),
                                           back);
                    database.InvalidateIndex();
                    break;
                }
                case 1:
                    database.AddItem(quest, "added " + std::to_string(pick(1000)), -1, false);
                    break;
                case 2:
                    if (!quest.items.empty()) quest.items[0].finisher = !quest.items[0].finisher;
                    break;
                case 3:
                    database.ClearFinishers();
                    break;
                default:
                    if (!quest.items.empty()) database.RemoveItem(&quest, &quest.items.back());
                    break;
            }
            if (database.quests.empty()) database.AddQuest("refill", -1, false);
        }
        const std::string current = ImageOf(database);
        saved.Forget();  // edited by hand, untold
        const ByteBuffer kept = saved.KeptEdits(database);
        ASSERT_EQ(saved.Differs(database), current != savedBytes);
        ASSERT_EQ(kept.Size() == 0, current == savedBytes);
        if (kept.Size() == 0) continue;

        // Read back by the next run, which has read the saved database.
        QuestDatabase next;
        Load(next, savedBytes);
        SavedImage nextSaved;
        nextSaved.Take(next);
        ASSERT_EQ(nextSaved.Apply(kept.Data(), kept.Size(), next), KeptEditsResult::Applied);
        ASSERT_EQ(ImageOf(next), current) << "round " << round;
        EXPECT_LE(kept.Size(), nextSaved.LargestKeptEdits(64));
        // Once saved, the same file is known for edits that quests.lbd holds already;
        // a file from before that was known reads as it did.
        SavedImage savedSince;
        savedSince.Take(next);
        QuestDatabase unchanged;
        EXPECT_EQ(savedSince.Apply(kept.Data(), kept.Size(), unchanged),
                  KeptEditsResult::AlreadySaved);
        std::string first(reinterpret_cast<const char*>(kept.Data()), kept.Size());
        first.erase(28, 16);
        first[7] = '1';
        QuestDatabase fromFirst;
        Load(fromFirst, savedBytes);
        ASSERT_EQ(nextSaved.Apply(reinterpret_cast<const std::uint8_t*>(first.data()), first.size(),
                                  fromFirst),
                  KeptEditsResult::Applied);
        EXPECT_EQ(ImageOf(fromFirst), current);

        // Any cut, or edits of another database, apply nothing.
        for (std::size_t cut = 0; cut < kept.Size(); cut += 1 + pick(5)) {
            QuestDatabase untouched;
            ASSERT_EQ(nextSaved.Apply(kept.Data(), cut, untouched), KeptEditsResult::Damaged)
                << cut;
            EXPECT_TRUE(untouched.quests.empty());
        }
        QuestDatabase other;
        other.AddQuest("another database", -1, false);
        SavedImage otherSaved;
        otherSaved.Take(other);
        EXPECT_EQ(otherSaved.Apply(kept.Data(), kept.Size(), other),
                  KeptEditsResult::OtherDatabase);
        EXPECT_EQ(other.quests.size(), 1u);
    }

    // One finisher toggled in a large database keeps one quest.
    QuestDatabase large;
    for (int q = 0; q < 5000; ++q) large.AddQuest("quest " + std::to_string(q), -1, false);
    SavedImage saved;
    saved.Take(large);
    large.quests[2500].items[0].finisher = true;
    EXPECT_LT(saved.KeptEdits(large).Size(), 100u);
    // A quest gone from the middle and one added at the end: still two small runs.
    large.RemoveItem(&large.quests[10], &large.quests[10].items[0]);
    large.AddQuest("a new quest", -1, false);
    EXPECT_LT(saved.KeptEdits(large).Size(), 150u);
    large.quests.insert(large.quests.begin() + 10, Quest{{{"quest 10", false, -1}}});
    large.quests.pop_back();
    large.InvalidateIndex();
    large.quests[2500].items[0].finisher = false;
    EXPECT_FALSE(saved.Differs(large));
}
