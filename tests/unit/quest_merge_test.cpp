#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "questdb/quest_merge.h"
#include "tests/support/test_files.h"

namespace {

// Quests in "a", "*b" notation: a star marks a finisher.
QuestDatabase Make(const std::vector<std::vector<std::string>>& quests) {
    std::vector<TestQuest> described;
    for (const auto& texts : quests) {
        described.emplace_back();
        for (const std::string& text : texts) {
            const bool finisher = !text.empty() && text[0] == '*';
            described.back().emplace_back(finisher ? text.substr(1) : text, finisher);
        }
    }
    const std::string image = DatabaseImage(described);
    QuestDatabase database;
    database.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    return database;
}

using Kind = TheirQuestOutcome::Kind;

TEST(QuestMerge, TakesEachOfTheirQuestsByWhereItsTextsAlreadyBelong) {
    QuestDatabase mine = Make({{"a1", "*a2", "a1"}, {"b1"}, {"c1", "c2"}});
    const std::string before = ImageOf(mine);
    const QuestDatabase theirs = Make({
        {},                           // 0: no items: nothing happens
        {"n1", "*n2", "n1"},          // 1: nothing held: a new quest, n1 once
        {"x", "a2", "y", "a1", "y"},  // 2: held only by quest 0: x and y join it, a2's flag differs
        {"b1", "c2", "z"},            // 3: held by quests 1 and 2: left out
        {"*n2", "m"},                 // 4: held by the quest that 1 added: m joins it
        {"c1", "c2"},                 // 5: all held already
        {"c2", "b1"},                 // 6: left out, its owners in order
    });
    const QuestMerge merge = PlanMerge(mine, theirs);
    EXPECT_EQ(ImageOf(mine), before) << "planning changes nothing";

    std::vector<Kind> kinds;
    for (const TheirQuestOutcome& outcome : merge.outcomes) kinds.push_back(outcome.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::NoItems, Kind::Added, Kind::Extended, Kind::LeftOut,
                                        Kind::Extended, Kind::Held, Kind::LeftOut}));
    // Where each went, as lbdtool's report tells it (lbdtool/tests); here what it tells
    // nowhere: the quest that held one already, and owners in order.
    EXPECT_EQ(merge.outcomes[5].quest, 2u);
    EXPECT_EQ(merge.outcomes[6].owners, (std::vector<std::size_t>{1, 2}));
    ASSERT_EQ(merge.outcomes[2].disagreements.size(), 1u);
    const FinisherDisagreement& flag = merge.outcomes[2].disagreements[0];
    EXPECT_EQ(flag.theirItem, 1u);
    EXPECT_EQ(flag.quest, 0u);
    EXPECT_EQ(flag.item, 1u);
    EXPECT_TRUE(flag.finisherHere);
    EXPECT_TRUE(merge.outcomes[4].disagreements.empty()) << "n2 is a finisher on both sides now";
    EXPECT_EQ(merge.questsAdded, 1u);
    EXPECT_EQ(merge.itemsAdded, 3u);
    EXPECT_EQ(merge.questsHeld, 1u);
    EXPECT_EQ(merge.questsLeftOut, 2u);
    EXPECT_EQ(merge.finishersDisagreed, 1u);

    ASSERT_TRUE(AppendMerged(mine, merge.added));
    EXPECT_EQ(DescribeQuests(mine), "[a1,*a2,a1,x,y][b1][c1,c2][n1,*n2,m]");
    // What the merge added is found as the program would find it.
    EXPECT_EQ(mine.FindQuest("m"), &mine.quests[3]);
    EXPECT_EQ(mine.FindItem("y"), &mine.quests[0].items[4]);
    EXPECT_EQ(mine.FindItem("a1"), &mine.quests[0].items[0]);
}

// Random databases over a few texts: the merge keeps MINE, adds every text of theirs
// but the left-out quests', adds nothing the second time, and its items come out again
// exactly; a list that no longer fits changes nothing.
TEST(QuestMerge, KeepsMineAddsTheRestOnceAndTakesItBackExactly) {
    std::mt19937 random(11);
    auto randomDatabase = [&](int quests) {
        std::vector<std::vector<std::string>> described(random() % quests);
        for (auto& texts : described) {
            for (int i = random() % 5; i > 0; --i)
                texts.push_back((random() % 4 == 0 ? "*t" : "t") + std::to_string(random() % 30));
        }
        return Make(described);
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QuestDatabase mine = randomDatabase(8);
        const QuestDatabase theirs = round % 10 == 0 ? mine : randomDatabase(8);
        const QuestDatabase original = mine;
        const std::string before = ImageOf(mine);
        const QuestMerge merge = PlanMerge(mine, theirs);
        ASSERT_TRUE(AppendMerged(mine, merge.added));
        const std::string merged = ImageOf(mine);
        // MINE first, each quest's items as they were, before any added to it.
        QuestDatabase cut = mine;
        cut.quests.resize(original.quests.size());
        for (std::size_t q = 0; q < cut.quests.size(); ++q)
            cut.quests[q].items.resize(original.quests[q].items.size());
        EXPECT_EQ(ImageOf(cut), before);
        if (round % 10 == 0) {
            EXPECT_TRUE(merge.added.empty()) << "a database adds nothing to itself";
        }

        for (std::size_t q = 0; q < theirs.quests.size(); ++q) {
            if (merge.outcomes[q].kind == Kind::LeftOut) continue;
            for (const QuestItem& item : theirs.quests[q].items)
                EXPECT_TRUE(mine.FindItem(item.text)) << item.text;
        }
        EXPECT_TRUE(PlanMerge(mine, theirs).added.empty());

        EXPECT_EQ(AppendMerged(mine, merge.added), merge.added.empty());
        EXPECT_EQ(ImageOf(mine), merged) << "the same items can't go in twice";
        ASSERT_TRUE(RemoveMerged(mine, merge.added));
        EXPECT_EQ(ImageOf(mine), before);
        if (merge.added.empty()) continue;
        EXPECT_FALSE(RemoveMerged(mine, merge.added));
        EXPECT_EQ(ImageOf(mine), before) << "nor come out twice";
    }
}

}  // namespace
