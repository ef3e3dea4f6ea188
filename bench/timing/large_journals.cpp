#include "bench/timing/large_journals.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "bench/timing/process_tools.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "tests/support/journal_generator.h"
#include "tests/support/test_files.h"
#include "tests/support/win/dialog_driver.h"
#include "tests/support/win/scratch_folder.h"

namespace {

// Times `work` once, in milliseconds.
template <class Work>
double TimeMs(Work&& work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

// The best of three runs of `work`, in milliseconds.
template <class Work>
double BestMs(Work&& work) {
    double best = 1e300;
    for (int run = 0; run < 3; ++run) best = std::min(best, TimeMs(work));
    return best;
}

GeneratedJournal WriteGenerated(const ScratchFolder& folder, std::size_t entries,
                                double emptyLineShare = 0.05) {
    JournalGeneratorOptions options;
    options.entries = entries;
    options.emptyLineShare = emptyLineShare;
    GeneratedJournal generated = GenerateJournal(options);
    folder.Write("journal.htm", generated.journal);
    folder.Write("quests.lbd", ImageBytes(generated.databaseImage));
    return generated;
}

// Refilling the list (ShowPrefsChanged) and the tree (ShowQuests) with every filter on,
// best of three, in milliseconds.
std::pair<double, double> RefillTimes(const ScratchFolder& folder, std::size_t entries) {
    WriteGenerated(folder, entries, 0);
    DialogDriver driver;
    if (!driver.Start()) return {0, 0};
    driver.Click(IDC_SHOW_COLLATED);
    driver.Click(IDC_SHOW_FINISHED);
    const double list = BestMs([&] { driver.Dialog().ShowPrefsChanged(); });
    const double tree = BestMs([&] { driver.Dialog().ShowQuests(); });
    driver.RequestClose();
    return {list, tree};
}

// The first entry from the middle of the journal on with this collated mark: edits
// there move the most of a tree that is rebuilt whole.
std::int32_t FromTheMiddle(const std::vector<JournalEntry>& journal, std::int32_t collated) {
    for (std::size_t p = journal.size() / 2; p < journal.size(); ++p)
        if (journal[p].collated == collated) return static_cast<std::int32_t>(p);
    return -1;
}

// The edits, with every entry listed and every quest in the tree, each once: two
// entries the game appended (a quest that the second finishes) shown by Reload
// Journal, then the five commands but the reset, and the removal undone and redone.
void EditTimes(const ScratchFolder& folder, std::size_t entries) {
    GeneratedJournal generated = WriteGenerated(folder, entries);
    generated.database.AddQuest("Heard the bell toll twice.", -1, false);
    generated.database.AddItem(generated.database.quests.back(), "The bell fell silent.", -1, true);
    generated.database.AddItem(generated.database.quests.back(), "A crow sat on the bell.", -1,
                               false);
    folder.Write("quests.lbd", ImageOf(generated.database));
    // A player's journal and database have long been on disk: the first edit's flush of
    // its kept edits mustn't pay for this run's writes of them.
    folder.Flush("journal.htm");
    folder.Flush("quests.lbd");
    DialogDriver driver;
    if (!driver.Start()) return;
    driver.Click(IDC_SHOW_COLLATED);
    driver.Click(IDC_SHOW_FINISHED);
    CMainDlg& dialog = driver.Dialog();
    const std::string appended = JournalText(
        {{"Day 9000", "Heard the bell toll twice."}, {"Day 9000", "The bell fell silent."}});
    folder.Append("journal.htm", appended);
    // Read as the game's growth: only the new bytes, only the new rows and items.
    const double reload = TimeMs([&] { driver.Click(IDC_RELOAD_JOURNAL); });

    // With every entry listed, row r shows journal position r.
    const std::int32_t started = FromTheMiddle(dialog.journal, 0);
    driver.SelectListRow(started);
    const double start = TimeMs([&] { driver.Click(IDC_START_NEW_QUEST); });
    driver.SelectListRow(FromTheMiddle(dialog.journal, 0));
    const double add = TimeMs([&] { driver.Click(IDC_ADD_TO_QUEST); });
    const double toggle = TimeMs([&] { driver.Click(IDC_TOGGLE_FINISHER); });
    const std::size_t other = static_cast<std::size_t>(FromTheMiddle(dialog.journal, 1));
    driver.SelectTreeItem(static_cast<HTREEITEM>(dialog.journal[other].treeItem));
    const double remove = TimeMs([&] { driver.Click(IDC_REMOVE_QUEST_ITEM); });
    const double undo = TimeMs([&] { driver.MenuCommand(ID_EDIT_UNDO); });
    const double redo = TimeMs([&] { driver.MenuCommand(ID_EDIT_REDO); });
    // Each edit ends by keeping the database's unsaved edits on disk; that step on its own,
    // told of no quest changed.
    const EditChange unchanged;
    const double keep = TimeMs([&] { dialog.DatabaseChanged(&unchanged); });
    std::printf(
        "edits with every quest shown, %zu entries: appended entries shown %.1f ms, Start New "
        "Quest %.1f, Add to Quest %.1f, Toggle Finisher %.1f, Remove Quest Item %.1f, Undo %.1f, "
        "Redo %.1f ms; keeping the unsaved edits alone %.1f ms\n",
        dialog.journal.size(), reload, start, add, toggle, remove, undo, redo, keep);
    driver.RequestClose();
}

}  // namespace

void RewriteLineEnds(const ScratchFolder& folder) {
    const std::string text = folder.Read("journal.htm").value_or("");
    const bool crlf = text.find("\r\n") != std::string::npos;
    std::string other;
    for (char c : text) {
        if (crlf && c == '\r') continue;
        if (!crlf && c == '\n') other += '\r';
        other += c;
    }
    folder.Write("journal.htm", other);
}

// Each action is timed from its message until the queue is empty again. The message
// boxes are answered as a user who agrees would.
int RunLarge(std::size_t entries, std::size_t lineMb) {
    AfxInitCommonControls();
    const ScratchFolder folder = ScratchFolder::Fresh("timing-large");
    SetProgramPathForTesting(folder.PathOf("lorebinder.exe"));
    std::vector<std::string> boxes;
    SetMessageBoxHook([&boxes](const MessageBoxRequest& request) {
        if ((request.type & MB_TYPEMASK) == MB_YESNO) return IDYES;
        std::string text = request.text.substr(0, 80);
        std::replace(text.begin(), text.end(), '\n', ' ');
        boxes.push_back(text);
        return IDOK;
    });
    std::printf("Lorebinder timing of large journals, each action once, Wine display driver: %s\n",
                DisplayDriver().c_str());

    {
        const GeneratedJournal generated = WriteGenerated(folder, entries);
        DialogDriver driver;
        const double start = TimeMs([&] { driver.Start(); });
        RewriteLineEnds(folder);
        const double reload = TimeMs([&] { driver.Click(IDC_RELOAD_JOURNAL); });
        const double everything = TimeMs([&] {
            driver.Click(IDC_SHOW_COLLATED);
            driver.Click(IDC_SHOW_FINISHED);
        });
        std::printf(
            "%zu entries (%zu distinct, %.1f MB): start-up %.0f ms, Reload Journal %.0f ms, "
            "every entry in both views %.0f ms\n",
            entries, generated.expected.size(), Mb(generated.journal.size()), start, reload,
            everything);
    }

    const std::string huge = "Lost" + std::string(lineMb << 20, 'x');
    const GeneratedJournal small = WriteGenerated(folder, 100);
    {
        folder.Write("journal.htm", small.journal + huge + "\r\n");
        DialogDriver driver;
        const double start = TimeMs([&] { driver.Start(); });
        std::printf("a line of %zu MB that is no journal line: start-up %.0f ms\n", lineMb, start);
    }
    {
        folder.Write("journal.htm", small.journal + "<B>Day 8</B><BR>\r\n" + huge + "<P>\r\n");
        folder.Write("quests.lbd", DatabaseImage({{{huge, true}}}));
        DialogDriver driver;
        const double start = TimeMs([&] {
            driver.Start();
            driver.Click(IDC_SHOW_COLLATED);
            driver.Click(IDC_SHOW_FINISHED);
        });
        const double select = TimeMs([&] { driver.SelectListRow(driver.ListCount() - 1); });
        const double save = TimeMs([&] { driver.RequestClose(); });
        std::printf(
            "an entry of %zu MB in a quest: start-up with every entry in both views %.0f "
            "ms, picking it in the list %.0f ms, the save on close %.0f ms\n",
            lineMb, start, select, save);
    }
    {
        folder.Write("journal.htm", BinaryNoise(lineMb << 20));
        folder.Write("quests.lbd", ImageBytes(small.databaseImage));
        DialogDriver driver;
        const double start = TimeMs([&] { driver.Start(); });
        std::printf("%zu MB of binary noise: start-up %.0f ms\n", lineMb, start);
    }

    const std::size_t quarter = std::max<std::size_t>(entries / 4, 1);
    const auto [smallList, smallTree] = RefillTimes(folder, quarter);
    const auto [largeList, largeTree] = RefillTimes(folder, entries);
    std::printf(
        "refilling the views, %zu -> %zu entries (best of 3): list %.1f -> %.1f ms "
        "(x%.2f), tree %.1f -> %.1f ms (x%.2f)\n",
        quarter, entries, smallList, largeList, largeList / std::max(smallList, 0.001), smallTree,
        largeTree, largeTree / std::max(smallTree, 0.001));

    EditTimes(folder, std::max<std::size_t>(entries / 5, 1));
    EditTimes(folder, entries);

    SetMessageBoxHook(nullptr);
    ResetProgramPathForTesting();
    // Only the warnings of the noise and the unknown line are expected.
    for (const std::string& text : boxes) std::printf("message box: %s\n", text.c_str());
    return 0;
}
