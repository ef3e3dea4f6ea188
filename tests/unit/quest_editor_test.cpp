#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <list>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "editing/quest_editor.h"
#include "journal/journal_matching.h"
#include "questdb/kept_edits.h"
#include "tests/support/journal_generator.h"
#include "tests/support/test_files.h"
#include "views/list_filter.h"
#include "views/quest_groups.h"
#include "views/view_changes.h"

namespace {

// The five commands on the portable core, each taking its step through the editor as
// the window's commands do; entries are picked at random where the player would pick them.
class Player {
public:
    Player(QuestDatabase& database, std::vector<JournalEntry>& journal, QuestEditor& editor,
           std::mt19937& random)
        : database(database), journal(journal), editor(editor), random(random) {}

    // Each returns what the command changed, or none when it changed nothing.
    std::optional<EditChange> StartQuest() {
        const std::int32_t entry = Pick(0);
        if (entry < 0) return std::nullopt;
        std::optional<EditStep> step = StartQuestStep(database, journal, entry);
        return step ? editor.Take(std::move(*step)) : std::nullopt;
    }
    std::optional<EditChange> AddToQuest() {
        const std::int32_t inTree = Pick(1), entry = Pick(0);
        if (inTree < 0 || entry < 0) return std::nullopt;
        Quest* quest = database.FindQuest(journal[inTree].text);
        return editor.Take(AddToQuestStep(database, *quest, journal, entry));
    }
    std::optional<EditChange> RemoveItem() {
        const std::int32_t entry = Pick(1);
        if (entry < 0) return std::nullopt;
        auto [quest, item] = database.FindQuestAndItem(journal[entry].text);
        return editor.Take(RemoveItemStep(database, *quest, *item));
    }
    std::optional<EditChange> ToggleFinisher() {
        const std::int32_t entry = Pick(1);
        if (entry < 0) return std::nullopt;
        auto [quest, item] = database.FindQuestAndItem(journal[entry].text);
        return editor.Take(ToggleFinisherStep(database, *quest, *item));
    }
    std::optional<EditChange> ResetFinishers() {
        std::optional<EditStep> step = ResetFinishersStep(database);
        return step ? editor.Take(std::move(*step)) : std::nullopt;
    }
    // A friend's database of a few quests: texts of the journal's entries, held here or
    // not, and texts the journal lacks.
    std::optional<EditChange> MergeQuests() {
        std::vector<TestQuest> quests(1 + random() % 4);
        for (TestQuest& quest : quests) {
            for (int i = random() % 4; i >= 0; --i) {
                const std::size_t pick = random() % (journal.size() + 5);
                quest.emplace_back(pick < journal.size()
                                       ? journal[pick].text
                                       : "Elsewhere " + std::to_string(pick) + ".",
                                   random() % 3 == 0);
            }
        }
        const std::string image = DatabaseImage(quests);
        QuestDatabase theirs;
        theirs.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        std::optional<EditStep> step = MergeQuestsStep(PlanMerge(database, theirs).added);
        return step ? editor.Take(std::move(*step)) : std::nullopt;
    }

private:
    // A random entry with this collated mark, or -1: the first with it from a random place.
    std::int32_t Pick(std::int32_t collated) {
        if (journal.empty()) return -1;
        const std::size_t start =
            std::uniform_int_distribution<std::size_t>(0, journal.size() - 1)(random);
        for (std::size_t n = 0; n < journal.size(); ++n) {
            const std::size_t p = (start + n) % journal.size();
            if (journal[p].collated == collated) return static_cast<std::int32_t>(p);
        }
        return -1;
    }

    QuestDatabase& database;
    std::vector<JournalEntry>& journal;
    QuestEditor& editor;
    std::mt19937& random;
};

std::vector<JournalEntry> Journal(const std::vector<std::string>& texts) {
    std::vector<JournalEntry> journal(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) journal[i].text = texts[i];
    return journal;
}

// The links a fresh read of the journal would make: every collated mark and every
// item's journalIndex as MatchJournal computes them.
std::string Links(const QuestDatabase& database, const std::vector<JournalEntry>& journal) {
    std::string links;
    for (const JournalEntry& entry : journal) links += std::to_string(entry.collated);
    for (const Quest& quest : database.quests)
        for (const QuestItem& item : quest.items) links += "," + std::to_string(item.journalIndex);
    return links;
}

void ExpectLinkedAsAReadWould(const QuestDatabase& database,
                              const std::vector<JournalEntry>& journal, const std::string& when) {
    QuestDatabase reread = database;
    std::vector<JournalEntry> journalReread = journal;
    MatchJournal(journalReread, reread);
    EXPECT_EQ(Links(database, journal), Links(reread, journalReread)) << when;
}

// Each quest as the tree sees it: its texts, flags and links.
std::vector<std::string> QuestImages(const QuestDatabase& database) {
    std::vector<std::string> images;
    for (const Quest& quest : database.quests) {
        std::string image;
        for (const QuestItem& item : quest.items)
            image +=
                item.text + (item.finisher ? "!" : "") + std::to_string(item.journalIndex) + "|";
        images.push_back(image);
    }
    return images;
}

// What a change says it touched covers all it changed: every entry whose mark changed,
// and every quest that isn't one of those it had before (a reset or a merge touches
// them all).
void ExpectTouchedToCoverTheChange(const std::vector<std::string>& questsBefore,
                                   const std::vector<std::int32_t>& marksBefore,
                                   const QuestDatabase& database,
                                   const std::vector<JournalEntry>& journal,
                                   const std::optional<EditChange>& change,
                                   const std::string& when) {
    if (!change) return;
    for (std::size_t p = 0; p < journal.size(); ++p) {
        if (journal[p].collated == marksBefore[p]) continue;
        EXPECT_NE(std::find(change->entries.begin(), change->entries.end(), std::int32_t(p)),
                  change->entries.end())
            << when << ": entry " << p;
    }
    if (change->everyQuest) return;
    std::vector<std::string> unclaimed = questsBefore;
    const std::vector<std::string> after = QuestImages(database);
    for (std::size_t q = 0; q < after.size(); ++q) {
        if (std::find(change->quests.begin(), change->quests.end(), q) != change->quests.end())
            continue;
        const auto same = std::find(unclaimed.begin(), unclaimed.end(), after[q]);
        ASSERT_NE(same, unclaimed.end()) << when << ": quest " << q << " changed untold";
        unclaimed.erase(same);
    }
}

// The list and the tree in plain containers, the tree's items in display order.
class ModelViews : public ShownViews {
public:
    struct Item {
        std::int32_t position;
        bool finisher;
        Item* parent;
        bool open;
    };
    std::vector<std::int32_t> rows;
    std::list<Item> items;

    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::int32_t RowPosition(int row) const override { return rows.at(row); }
    void InsertRow(int row, std::int32_t position) override {
        rows.insert(rows.begin() + row, position);
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
    TreeItemHandle ParentOf(TreeItemHandle item) const override {
        return static_cast<Item*>(item)->parent;
    }
    void DeleteItem(TreeItemHandle item) override {
        items.remove_if([item](const Item& i) { return &i == item || i.parent == item; });
    }
    TreeItemHandle InsertItem(TreeItemHandle parent, TreeItemHandle after, std::int32_t position,
                              bool finisher, bool open) override {
        auto at = items.begin();
        if (after || parent) {
            at = std::find_if(items.begin(), items.end(),
                              [&](const Item& i) { return &i == (after ? after : parent); });
            for (++at; after && at != items.end() && at->parent == after;) ++at;
        }
        return &*items.insert(at, Item{position, finisher, static_cast<Item*>(parent), open});
    }
};

// The filters Unknown, Collated, Unfinished and Finished, in that order.
using Filters = std::array<bool, 4>;

// As the dialog shows a change: the touched rows and quests alone; a reset, a reload or
// a filter's click (no change) from nothing.
void ShowChange(ModelViews& views, const QuestDatabase& database,
                std::vector<JournalEntry>& journal, const Filters& f,
                std::optional<EditChange> change) {
    if (!change || change->everyQuest) {
        views = ModelViews();
        change = EditChange();
        change->entries.resize(journal.size());
        std::iota(change->entries.begin(), change->entries.end(), 0);
        change->quests.resize(database.quests.size());
        std::iota(change->quests.begin(), change->quests.end(), 0);
        for (JournalEntry& entry : journal) entry.treeItem = nullptr;
    }
    ShowListChanges(views, journal, f[0], f[1], change->entries);
    ShowTreeChanges(views, database, journal, f[2], f[3], change->entries, change->quests);
}

std::string Line(std::int32_t position, bool finisher, bool top, bool open) {
    return (top ? "" : "  ") + std::to_string(position) + (finisher ? " finisher" : "") +
           (top ? (open ? " open" : " closed") : "");
}

// The views line by line: each tree item, each row, and how many entries a tree item
// shows. Then the same as a rebuild from scratch shows them.
std::vector<std::string> Shown(const ModelViews& views, const std::vector<JournalEntry>& journal) {
    std::vector<std::string> lines;
    for (const ModelViews::Item& item : views.items) {
        lines.push_back(Line(item.position, item.finisher, !item.parent, item.open));
        if (journal[item.position].treeItem != &item) lines.back() += " unlinked";
    }
    for (std::int32_t row : views.rows) lines.push_back("row " + std::to_string(row));
    lines.push_back(std::to_string(std::count_if(
        journal.begin(), journal.end(), [](const JournalEntry& e) { return e.treeItem; })));
    return lines;
}

std::vector<std::string> Rebuilt(const QuestDatabase& database,
                                 const std::vector<JournalEntry>& journal, const Filters& f) {
    std::vector<std::string> lines;
    for (const QuestGroup& group : GroupQuests(database, journal, f[2], f[3])) {
        for (const QuestGroupEntry& entry : group.entries)
            lines.push_back(
                Line(entry.position, entry.finisher, &entry == &group.entries[0],
                     !group.finished && group.entries.size() > 1));  // childless: never open
    }
    const std::size_t items = lines.size();
    for (std::int32_t row : FilterJournal(journal, f[0], f[1]).rows)
        lines.push_back("row " + std::to_string(row));
    lines.push_back(std::to_string(items));
    return lines;
}

// Each random walk undoes and redoes at random between commands and merges of a friend's
// quests, and now and then reloads a journal that renumbers its entries, loses some and
// gains others, finds entries appended, or clicks a filter. The views, changed only where each step
// touched them, show what a rebuild would.
TEST(QuestEditor, UndoAndRedoGiveBackEveryImageOfTheWayExactly) {
    std::vector<std::string> texts;
    for (int i = 0; i < 30; ++i) texts.push_back("Entry " + std::to_string(i) + ".");
    texts.push_back("entry 1.");  // differs from another only in case
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        // As a shared file may be: a text held twice, a quest with no item, finishers,
        // items the journal lacks.
        QuestDatabase database;
        const std::string image = DatabaseImage({{{"Entry 1.", false}, {"Entry 2.", true}},
                                                 {},
                                                 {{"Gone.", true}, {"Entry 2.", false}},
                                                 {{"Entry 3.", true}},
                                                 {{"Entry 4.", false}, {"Entry 5.", false}}});
        database.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
        std::vector<JournalEntry> journal = Journal(texts);
        MatchJournal(journal, database);

        QuestEditor editor(database, journal);
        Player player(database, journal, editor, random);
        ModelViews views;
        Filters filters = {true, false, true, false};
        ShowChange(views, database, journal, filters, std::nullopt);
        SavedImage saved;  // told of each change, as the kept edits are
        saved.Take(database);
        // images[k]: the image with k steps of the current line applied; `done` of them are.
        std::vector<std::string> images = {ImageOf(database)};
        std::size_t done = 0;
        std::size_t undos = 0, redos = 0, merges = 0;
        for (int turn = 0; turn < 600; ++turn) {
            const std::string when =
                "seed " + std::to_string(seed) + ", turn " + std::to_string(turn);
            const int choice = std::uniform_int_distribution<int>(0, 99)(random);
            const std::vector<std::string> questsBefore = QuestImages(database);
            std::vector<std::int32_t> marksBefore;
            for (const JournalEntry& entry : journal) marksBefore.push_back(entry.collated);
            std::optional<EditChange> change;
            bool rebuild = false;
            if (choice < 20) {
                change = editor.Undo();
                const bool undone = change.has_value();
                ASSERT_EQ(undone, done > 0) << when;
                if (undone) {
                    ASSERT_EQ(ImageOf(database), images[--done]) << when;
                    ++undos;
                }
            } else if (choice < 35) {
                change = editor.Redo();
                const bool redone = change.has_value();
                ASSERT_EQ(redone, done + 1 < images.size()) << when;
                if (redone) {
                    ASSERT_EQ(ImageOf(database), images[++done]) << when;
                    ++redos;
                }
            } else if (choice < 36) {
                // A reload: entries renumbered, some lost, some new, one the database
                // holds although the journal never had it.
                std::vector<std::string> reloaded;
                for (const std::string& text : texts)
                    if (random() % 5 != 0) reloaded.push_back(text);
                reloaded.push_back("Gone.");
                reloaded.push_back("Entry " + std::to_string(30 + turn) + ".");
                std::shuffle(reloaded.begin(), reloaded.end(), random);
                journal = Journal(reloaded);
                MatchJournal(journal, database);
                rebuild = true;
            } else if (choice < 38) {
                // The game appends: texts new to the journal, some the database holds.
                std::vector<std::string> appended = {"Gone.", "Entry " + std::to_string(turn)};
                for (const std::string& text : texts)
                    if (random() % 4 == 0) appended.push_back(text);
                for (const JournalEntry& entry : journal)
                    appended.erase(std::remove(appended.begin(), appended.end(), entry.text),
                                   appended.end());
                const std::size_t first = journal.size();
                for (const std::string& text : appended) journal.emplace_back().text = text;
                marksBefore.resize(journal.size(), -1);  // every new entry must be told
                change = editor.JournalGrew(first);
                ASSERT_EQ(change->entries.size(), journal.size() - first) << when;
            } else if (choice < 40) {
                filters[random() % 4] ^= true;
                rebuild = true;
            } else {
                const std::string before = ImageOf(database);
                if (choice < 60) {
                    change = player.StartQuest();
                } else if (choice < 75) {
                    change = player.AddToQuest();
                } else if (choice < 87) {
                    change = player.RemoveItem();
                } else if (choice < 92) {
                    change = player.ToggleFinisher();
                } else if (choice < 94) {
                    change = player.ResetFinishers();
                } else {
                    change = player.MergeQuests();
                    merges += change.has_value();
                }
                if (!change) {
                    ASSERT_EQ(ImageOf(database), before) << when;
                    continue;
                }
                images.resize(++done);  // a new step drops what could have been redone
                images.push_back(ImageOf(database));
                ASSERT_EQ(editor.NextRedo(), nullptr) << when;
            }
            ExpectLinkedAsAReadWould(database, journal, when);
            ExpectTouchedToCoverTheChange(questsBefore, marksBefore, database, journal, change,
                                          when);
            if (change && !change->everyQuest)
                saved.Edited(change->quests, change->questPutIn, change->questTakenOut);
            else if (change)
                saved.Forget();
            SavedImage untold = saved;
            untold.Forget();
            ASSERT_EQ(saved.KeptEdits(database).Bytes(), untold.KeptEdits(database).Bytes())
                << when;
            if (rebuild || change)
                ShowChange(views, database, journal, filters, rebuild ? std::nullopt : change);
            ASSERT_EQ(Shown(views, journal), Rebuilt(database, journal, filters)) << when;
        }
        EXPECT_GT(undos, 50u);
        EXPECT_GT(redos, 10u);
        EXPECT_GT(merges, 5u);

        while (editor.Undo()) ExpectLinkedAsAReadWould(database, journal, "undo");
        EXPECT_EQ(ImageOf(database), images.front()) << "seed " << seed;
        EXPECT_EQ(ImageOf(database), image);
        while (editor.Redo()) ExpectLinkedAsAReadWould(database, journal, "redo");
        EXPECT_EQ(ImageOf(database), images.back()) << "seed " << seed;
    }
}

// Only a change that bypassed the history could do this; the steps are refused rather
// than applied to the wrong items.
TEST(QuestEditor, AStepThatNoLongerFitsTheDatabaseChangesNothing) {
    std::vector<JournalEntry> journal = Journal({"Met the ferryman.", "Paid the toll."});
    QuestDatabase database;
    QuestEditor editor(database, journal);
    EXPECT_FALSE(editor.Undo());
    ASSERT_TRUE(editor.Take(*StartQuestStep(database, journal, 0)));
    ASSERT_TRUE(editor.Take(
        ToggleFinisherStep(database, database.quests.back(), database.quests.back().items.back())));
    ASSERT_TRUE(editor.Undo());

    database.quests.clear();
    database.InvalidateIndex();
    EXPECT_FALSE(editor.Redo());
    EXPECT_FALSE(editor.Undo());
    EXPECT_TRUE(database.quests.empty());
    EXPECT_EQ(journal[0].collated, 1) << "the entry's mark isn't touched either";
}

// A step keeps what it changed, not the database: a thousand steps on a long journal's
// database cost about what their texts take.
TEST(QuestEditor, AThousandStepsAtAHundredThousandEntriesTakeLessThanAMegabyte) {
    JournalGeneratorOptions options;
    options.entries = 100000;
    GeneratedJournal generated = GenerateJournal(options);
    QuestDatabase& database = generated.database;
    std::vector<JournalEntry>& journal = generated.expected;
    MatchJournal(journal, database);

    QuestEditor editor(database, journal);
    std::mt19937 random(7);
    Player player(database, journal, editor, random);
    std::size_t steps = 0;
    for (int turn = 0; steps < 1000; ++turn) {
        // Each removal rebuilds the lookup index; a few stand for the rest.
        switch (turn % 4) {
            case 0:
                steps += player.StartQuest().has_value();
                break;
            case 1:
                steps += player.AddToQuest().has_value();
                break;
            case 2:
                steps += player.ToggleFinisher().has_value();
                break;
            default:
                steps += turn % 40 == 3 && player.RemoveItem().has_value();
        }
    }
    const std::size_t bytes = editor.Footprint();
    std::printf("history of %zu steps at %zu entries (image %zu bytes): %zu bytes\n", steps,
                journal.size(), ImageOf(database).size(), bytes);
    EXPECT_LT(bytes, 1000000u);
}

}  // namespace
