// How long the two views take to fill with a long game's journal. Painting while
// filling makes a list box of 20,000 rows take over a minute under Wine, and a tree
// several seconds; the bounds here are far above a healthy fill and far below those.
#include <algorithm>
#include <iostream>

#include "tests/gui/gui_fixture.h"
#include "tests/support/journal_generator.h"

namespace {

class ViewsSpeed : public MainDialogTest {
protected:
    // Starts on a generated journal with every filter on.
    void StartWith(size_t entries) {
        JournalGeneratorOptions options;
        options.entries = entries;
        options.emptyLineShare = 0;
        GeneratedJournal generated = GenerateJournal(options);
        WriteFile("journal.htm", generated.journal);
        const auto& image = generated.databaseImage.Bytes();
        WriteFile("quests.lbd", std::string(image.begin(), image.end()));
        StartDialog();
        ASSERT_EQ(Dialog().journal.size(), generated.expected.size());
        Click(IDC_SHOW_COLLATED);
        Click(IDC_SHOW_FINISHED);
    }

    template <class Work>
    static double BestSeconds(Work&& work) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            work();
            QueryPerformanceCounter(&end);
            best = std::min(best, double(end.QuadPart - start.QuadPart) / frequency.QuadPart);
        }
        return best;
    }

    struct Times {
        double list;
        double tree;
    };

    Times Measure(size_t entries) {
        StartWith(entries);
        Times times;
        times.list = BestSeconds([this] { Dialog().ShowPrefsChanged(); });
        times.tree = BestSeconds([this] { Dialog().ShowQuests(); });
        std::cout << entries << " entries (" << Dialog().journal.size() << " distinct, "
                  << TreeCount() << " in the tree): list " << times.list * 1000 << " ms, tree "
                  << times.tree * 1000 << " ms\n";
        EXPECT_EQ(ListCount(), static_cast<int>(Dialog().journal.size()));
        EXPECT_GT(TreeCount(), static_cast<int>(Dialog().journal.size() / 2));
        return times;
    }
};

TEST_F(ViewsSpeed, TwentyThousandEntriesFillBothViewsWithoutAStall) {
    const Times small = Measure(5000);
    const Times large = Measure(20000);
    RecordProperty("list_ms_20000", static_cast<int>(large.list * 1000));
    RecordProperty("tree_ms_20000", static_cast<int>(large.tree * 1000));

    EXPECT_LT(large.list, 2.0);
    EXPECT_LT(large.tree, 2.0);
    // Four times the entries may cost about four times as much, never sixteen.
    EXPECT_LT(large.tree, 8 * small.tree + 0.1);
    EXPECT_LT(large.list, 8 * small.list + 0.1);
}

}  // namespace
