// The timing run: the real CMainDlg, in this process, on a generated journal of N
// entries, driven through the same seams as the in-process GUI tests. Each user
// action is timed from its message to the moment the message queue is empty again,
// and set beside its floor: the same items, with the same labels, put into the same
// tree and list controls of a bare dialog made from the same template, painting off.
// For start-up and "Reload Journal" the floor also reads and splits journal.htm (and
// at start-up reads quests.lbd); for the save on close it reads the file back and
// compares it, writes the same bytes beside it, flushes them and swaps them in,
// keeping the old file as the backup, as the program does. A last
// row times the portable core's collation (read, deduplicate, match, group) on this
// platform beside reading and splitting the journal.
//
//     lorebinder_timing N [REPEAT]     best of REPEAT runs (default 3)
//     lorebinder_timing --large N MB   once each: a journal of N entries, lines of MB
//                                      megabytes, binary noise, and how refilling the
//                                      views grows from a quarter of N entries to N
//
// Children of this program write the files (--generate) and measure what the
// controls take (--controls), so that neither pollutes the figures of the run.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "bench/timing/large_journals.h"
#include "bench/timing/process_tools.h"
#include "bench/timing/view_snapshot.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/win_app.h"
#include "journal/journal_matching.h"
#include "journal/journal_reader.h"
#include "journal/line_splitter.h"
#include "res/resource.h"
#include "tests/support/file_bytes.h"
#include "tests/support/journal_generator.h"
#include "tests/support/test_files.h"
#include "tests/support/win/dialog_driver.h"
#include "tests/support/win/scratch_folder.h"
#include "views/font_scale.h"
#include "views/list_filter.h"
#include "views/quest_groups.h"

namespace {

constexpr char kNoSuchText[] = "words that no entry holds";

// Which controls an action refills, and so what its floor does.
enum class Floor { StartUp, Reload, List, Tree, ListAndTree, Save };

struct Action {
    const char* name;
    Floor floor;
    int control;        // the button the user clicks, clicked in the bare dialog too; 0: none
    bool edit = false;  // changes the database
};

const Action kActions[] = {
    {"Start-up (window shown)", Floor::StartUp, 0},
    {"Reload Journal", Floor::Reload, IDC_RELOAD_JOURNAL},
    {"Click Collated (on)", Floor::List, IDC_SHOW_COLLATED},
    {"Click Finished (on)", Floor::Tree, IDC_SHOW_FINISHED},
    {"Click Unknown (off)", Floor::List, IDC_SHOW_UNKNOWN},
    {"Click Unfinished (off)", Floor::Tree, IDC_SHOW_UNFINISHED},
    {"Start New Quest", Floor::Tree, IDC_START_NEW_QUEST, true},
    {"Add to Quest", Floor::Tree, IDC_ADD_TO_QUEST, true},
    {"Toggle Finisher", Floor::Tree, IDC_TOGGLE_FINISHER, true},
    {"Remove Quest Item", Floor::ListAndTree, IDC_REMOVE_QUEST_ITEM, true},
    // The removal taken back and made again. The edits' floors fill whole views, which
    // the program spares itself now: their ratios fall below 1.
    {"Undo", Floor::ListAndTree, 0, true},
    {"Redo", Floor::ListAndTree, 0, true},
    {"Reset all finishers", Floor::Tree, 0, true},
    {"Find Next, no match", Floor::List, IDC_FIND_NEXT},
    {"Save on close", Floor::Save, 0},
};
constexpr std::size_t kActionCount = sizeof(kActions) / sizeof(kActions[0]);

struct Measured {
    double ms = 1e300;
    double floorMs = 1e300;
    ViewSnapshot before;    // what the controls held when the action began
    ViewSnapshot view;      // and what they showed after it
    double keepMs = 1e300;  // an edit's share: writing quests.lbd.unsaved
};

// Answers every box as a user who agrees would, and keeps the unexpected ones.
struct BoxAnswers {
    std::vector<std::string> unexpected;

    int Answer(const MessageBoxRequest& request) {
        if ((request.type & MB_TYPEMASK) == MB_YESNO) return IDYES;
        if (request.text.find("Not found.") == std::string::npos)
            unexpected.push_back(request.text);
        return IDOK;
    }
};

// The bare dialogs have no loop of their own: plain dispatch.
void PumpAll() {
    CDialog::PumpQueuedMessages(nullptr);
}

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The main dialog's template with no program behind it, its text controls in the
// font the program gives them at start-up: the same controls, measuring the same
// text. The font of the bare dialog made before this one goes now; that dialog has.
HWND MakeBareDialog() {
    static HFONT font = nullptr;
    HWND bare =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOREBINDER_DIALOG),
                           nullptr, BareDialogProc, 0);
    if (!bare) return nullptr;
    LOGFONTA base = {};
    GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(bare, IDC_LIST_TEXT, WM_GETFONT, 0, 0)),
               sizeof(base), &base);
    base.lfHeight = ScaleFontDimension(base.lfHeight, 1.0f);
    base.lfWidth = ScaleFontDimension(base.lfWidth, 1.0f);
    if (font) DeleteObject(font);
    font = CreateFontIndirectA(&base);
    for (int id : {IDC_LIST_TEXT, IDC_LIST_HEADING, IDC_TREE_TEXT, IDC_TREE_HEADING, IDC_QUEST_TREE,
                   IDC_JOURNAL_LIST}) {
        SendDlgItemMessageA(bare, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    ShowWindow(bare, SW_SHOWNORMAL);
    PumpAll();
    return bare;
}

// The floor of reading the journal: its bytes, in the program's chunks, each line a
// string of its own.
std::size_t ReadAndSplit(const std::string& path) {
    std::vector<std::string> lines;
    LineSplitter splitter;
    auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
    ReadFileInChunks(path, kJournalChunk, [&](const char* bytes, std::size_t size) {
        splitter.Feed(bytes, size, keep);
    });
    splitter.Finish(keep);
    return lines.size();
}

// The portable core's part of start-up and reload on this platform: the journal read
// in the program's chunks, deduplicated, matched and grouped. The database is loaded
// beforehand, as the native benchmark does.
double TimeCollation(const ScratchFolder& folder) {
    const std::string image = folder.Read("quests.lbd.original").value_or("");
    QuestDatabase database;
    database.ReadImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    const double start = NowMs();
    std::vector<JournalEntry> journal = ReadJournalFile(folder.PathOf("journal.htm"));
    MatchJournal(journal, database);
    const std::vector<QuestGroup> groups = GroupQuests(database, journal, true, true);
    return groups.empty() && !journal.empty() ? 0 : NowMs() - start;
}

// The floor of one action in the bare dialog. Its controls first get, untimed, the
// items the program's held when the action began: emptying a full tree costs as much
// as filling it. Start-up makes the bare dialog anew.
double TimeFloor(const Action& action, const Measured& measured, HWND& bare,
                 const std::vector<JournalEntry>& journal, const ScratchFolder& folder,
                 const std::string& image) {
    if (action.floor == Floor::StartUp && bare) {
        DestroyWindow(bare);
        PumpAll();
        bare = nullptr;
    }
    // The save floor replaces a file that holds what the program's save finds.
    if (action.floor == Floor::Save && !WriteFileBytes(folder.PathOf("floor.lbd"), image)) return 0;
    if (bare) {
        if (action.floor != Floor::Tree && action.floor != Floor::Save)
            FillList(GetDlgItem(bare, IDC_JOURNAL_LIST), measured.before, journal);
        if (action.floor != Floor::List && action.floor != Floor::Save)
            FillTree(GetDlgItem(bare, IDC_QUEST_TREE), measured.before, journal);
        PumpAll();
    }
    const ViewSnapshot& view = measured.view;
    const double start = NowMs();
    if (action.floor == Floor::StartUp) {
        bare = MakeBareDialog();
        if (!bare) return 0;
    }
    if (action.control) SendMessageA(GetDlgItem(bare, action.control), BM_CLICK, 0, 0);
    HWND tree = GetDlgItem(bare, IDC_QUEST_TREE);
    HWND list = GetDlgItem(bare, IDC_JOURNAL_LIST);
    switch (action.floor) {
        case Floor::StartUp: {
            const std::optional<std::string> database = folder.Read("quests.lbd.original");
        }
            [[fallthrough]];
        case Floor::Reload:
            ReadAndSplit(folder.PathOf("journal.htm"));
            FillList(list, view, journal);
            FillTree(tree, view, journal);
            break;
        case Floor::List:
            FillList(list, view, journal);
            break;
        case Floor::Tree:
            FillTree(tree, view, journal);
            break;
        case Floor::ListAndTree:
            FillList(list, view, journal);
            FillTree(tree, view, journal);
            break;
        case Floor::Save: {
            // As safe a save as the program's: the file on disk read back and compared
            // with what was read at start-up (another program may have written it), the
            // image built in memory in one piece and put on disk beside it, then the
            // swap that keeps the old file as the backup.
            const std::string target = folder.PathOf("floor.lbd");
            HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            std::string onDisk(image.size(), '\0');
            DWORD read = 0;
            ReadFile(held, onDisk.data(), static_cast<DWORD>(onDisk.size()), &read, nullptr);
            CloseHandle(held);
            if (onDisk != image) return 0;
            const std::string built(image);
            const std::string temporary = folder.PathOf("floor.tmp");
            HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(file, built.data(), static_cast<DWORD>(built.size()), &written, nullptr);
            FlushFileBuffers(file);
            CloseHandle(file);
            ReplaceFileA(target.c_str(), temporary.c_str(), folder.PathOf("floor.lbd.bak").c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
            break;
        }
    }
    PumpAll();
    return NowMs() - start;
}

bool SameRows(const TreeRow& a, const TreeRow& b) {
    return a.position == b.position && a.topLevel == b.topLevel && a.finisher == b.finisher &&
           a.expanded == b.expanded;
}

// Whether the bare controls now hold what the program showed after the action: a
// floor that filled fewer or other items would flatter the program.
bool FloorShowsTheSame(const Action& action, const ViewSnapshot& view, HWND bare) {
    const ViewSnapshot floor =
        TakeSnapshot(GetDlgItem(bare, IDC_QUEST_TREE), GetDlgItem(bare, IDC_JOURNAL_LIST));
    const bool list = action.floor != Floor::Tree && action.floor != Floor::Save;
    const bool tree = action.floor != Floor::List && action.floor != Floor::Save;
    if (list && floor.listRows != view.listRows) return false;
    return !tree || std::equal(floor.tree.begin(), floor.tree.end(), view.tree.begin(),
                               view.tree.end(), SameRows);
}

ViewSnapshot Snapshot(const DialogDriver& driver) {
    return TakeSnapshot(driver.Control(IDC_QUEST_TREE), driver.Control(IDC_JOURNAL_LIST));
}

void SelectFirstTreeItem(DialogDriver& driver) {
    driver.SelectTreeItem(TreeView_GetRoot(driver.Control(IDC_QUEST_TREE)));
}

// One run of every action on the real dialog; keeps each time if it beats `results`.
bool RunProgram(const ScratchFolder& folder, std::vector<Measured>& results,
                std::vector<JournalEntry>& journalOut, MemoryFigures* memoryOut) {
    folder.Write("quests.lbd", folder.Read("quests.lbd.original").value_or(""));

    DialogDriver driver;
    std::size_t next = 0;
    auto timed = [&](auto&& action) {
        Measured& result = results[next++];
        const bool shown = next > 1 && next < kActionCount;  // a window before and after
        if (shown) result.before = Snapshot(driver);
        const double start = NowMs();
        action();
        const double ms = NowMs() - start;
        if (ms < result.ms) result.ms = ms;
        if (next < kActionCount) result.view = Snapshot(driver);
        // Each edit ended by keeping its result on disk; that step again, on its own,
        // told of no quest changed.
        if (kActions[next - 1].edit) {
            const EditChange unchanged;
            const double keepStart = NowMs();
            driver.Dialog().DatabaseChanged(&unchanged);
            result.keepMs = std::min(result.keepMs, NowMs() - keepStart);
        }
    };

    bool started = false;
    timed([&] { started = driver.Start(); });
    if (!started) return false;
    RewriteLineEnds(folder);
    timed([&] { driver.Click(IDC_RELOAD_JOURNAL); });
    timed([&] { driver.Click(IDC_SHOW_COLLATED); });
    timed([&] { driver.Click(IDC_SHOW_FINISHED); });
    timed([&] { driver.Click(IDC_SHOW_UNKNOWN); });
    timed([&] { driver.Click(IDC_SHOW_UNFINISHED); });
    // Back to the start-up filters: uncollated entries, unfinished quests.
    for (int id : {IDC_SHOW_UNKNOWN, IDC_SHOW_UNFINISHED, IDC_SHOW_COLLATED, IDC_SHOW_FINISHED})
        driver.Click(id);

    driver.SelectListRow(0);
    timed([&] { driver.Click(IDC_START_NEW_QUEST); });
    SelectFirstTreeItem(driver);
    driver.SelectListRow(0);
    timed([&] { driver.Click(IDC_ADD_TO_QUEST); });
    SelectFirstTreeItem(driver);
    timed([&] { driver.Click(IDC_TOGGLE_FINISHER); });
    SelectFirstTreeItem(driver);
    timed([&] { driver.Click(IDC_REMOVE_QUEST_ITEM); });
    timed([&] { driver.MenuCommand(ID_EDIT_UNDO); });
    timed([&] { driver.MenuCommand(ID_EDIT_REDO); });
    timed([&] { driver.MenuCommand(ID_OPTIONS_RESET_FINISHERS); });

    driver.Click(IDC_SHOW_COLLATED);  // every entry listed: the longest search
    driver.SelectListRow(0);
    SetDlgItemTextA(driver.Window(), IDC_SEARCH_BOX, kNoSuchText);
    timed([&] { driver.Click(IDC_FIND_NEXT); });

    timed([&] { driver.RequestClose(); });
    // Taken once the run is over, so that the copy never counts in its memory.
    if (memoryOut) *memoryOut = ProcessMemory();
    journalOut = driver.Dialog().journal;
    driver.Close();
    return true;
}

int Generate(std::size_t entries, const std::string& folder) {
    JournalGeneratorOptions options;
    options.entries = entries;
    const GeneratedJournal generated = GenerateJournal(options);
    const bool ok =
        WriteFileBytes(folder + "\\journal.htm", generated.journal) &&
        WriteFileBytes(folder + "\\quests.lbd.original", ImageBytes(generated.databaseImage));
    return ok ? 0 : 1;
}

// What the controls themselves take at their fullest in the run (every filter on:
// each entry listed, each quest in the tree): the growth of this process when a
// bare dialog is filled so. Written to controls.txt.
int MeasureControls(const std::string& folder) {
    AfxInitCommonControls();
    std::optional<std::string> bytes = ReadFileBytes(folder + "\\journal.htm");
    const std::optional<std::string> image = ReadFileBytes(folder + "\\quests.lbd.original");
    if (!bytes || !image) return 1;
    std::vector<JournalEntry> journal = ParseJournal(*bytes).entries;
    bytes.reset();
    QuestDatabase database;
    database.ReadImage(reinterpret_cast<const std::uint8_t*>(image->data()), image->size());
    MatchJournal(journal, database);

    ViewSnapshot view;
    view.listRows = FilterJournal(journal, true, true).rows;
    for (const QuestGroup& group : GroupQuests(database, journal, true, true)) {
        for (const QuestGroupEntry& entry : group.entries) {
            view.tree.push_back({entry.position, &entry == &group.entries.front(), entry.finisher,
                                 !group.finished});
        }
    }
    HWND bare = MakeBareDialog();
    if (!bare) return 1;
    const MemoryFigures before = ProcessMemory();
    FillList(GetDlgItem(bare, IDC_JOURNAL_LIST), view, journal);
    FillTree(GetDlgItem(bare, IDC_QUEST_TREE), view, journal);
    PumpAll();
    const MemoryFigures after = ProcessMemory();
    DestroyWindow(bare);

    char line[128];
    std::snprintf(line, sizeof(line), "%llu %llu\n",
                  static_cast<unsigned long long>(after.workingSet - before.workingSet),
                  static_cast<unsigned long long>(after.privateBytes - before.privateBytes));
    return WriteFileBytes(folder + "\\controls.txt", line) ? 0 : 1;
}

int Run(std::size_t entries, int repeat) {
    const MemoryFigures atStart = ProcessMemory();
    const ScratchFolder folder = ScratchFolder::Fresh("timing");
    const std::string quoted = " \"" + folder.Path() + "\"";
    if (RunSelf("--generate " + std::to_string(entries) + quoted) != 0 ||
        RunSelf("--controls" + quoted) != 0) {
        std::fprintf(stderr, "lorebinder_timing: preparing %s failed\n", folder.Path().c_str());
        return 1;
    }
    const std::string controls = folder.Read("controls.txt").value_or("");
    unsigned long long controlsWorkingSet = 0, controlsPrivate = 0;
    std::sscanf(controls.c_str(), "%llu %llu", &controlsWorkingSet, &controlsPrivate);

    AfxInitCommonControls();
    SetProgramPathForTesting(folder.PathOf("lorebinder.exe"));
    BoxAnswers boxes;
    SetMessageBoxHook([&boxes](const MessageBoxRequest& request) { return boxes.Answer(request); });

    std::vector<Measured> results(kActionCount);
    std::vector<JournalEntry> journal;
    // Memory counts the first run only: later ones would add what the heap keeps.
    MemoryFigures program;
    for (int run = 0; run < repeat; ++run) {
        if (!RunProgram(folder, results, journal, run == 0 ? &program : nullptr)) {
            std::fprintf(stderr, "lorebinder_timing: the main dialog couldn't be created\n");
            return 1;
        }
    }
    SetMessageBoxHook(nullptr);

    const std::string image = folder.Read("quests.lbd").value_or("");
    HWND bare = nullptr;
    bool floorsDiffer = false;
    for (int run = 0; run < repeat; ++run) {
        for (std::size_t i = 0; i < kActionCount; ++i) {
            const double ms = TimeFloor(kActions[i], results[i], bare, journal, folder, image);
            results[i].floorMs = std::min(results[i].floorMs, ms);
            if (bare && !FloorShowsTheSame(kActions[i], results[i].view, bare)) {
                std::fprintf(stderr, "lorebinder_timing: the floor of \"%s\" shows other items\n",
                             kActions[i].name);
                floorsDiffer = true;
            }
        }
    }
    if (bare) DestroyWindow(bare);
    PumpAll();
    double collationMs = 1e300, splitMs = 1e300;
    for (int run = 0; run < repeat; ++run) {
        collationMs = std::min(collationMs, TimeCollation(folder));
        const double start = NowMs();
        ReadAndSplit(folder.PathOf("journal.htm"));
        splitMs = std::min(splitMs, NowMs() - start);
    }

    const std::uint64_t files =
        FileSize(folder.PathOf("journal.htm")) + FileSize(folder.PathOf("quests.lbd.original"));
    std::printf(
        "Lorebinder timing: %zu journal entries (%zu distinct), files %.1f MB, best of "
        "%d, Wine display driver: %s\n",
        entries, journal.size(), Mb(files), repeat, DisplayDriver().c_str());
    std::printf("%-26s %7s %7s %10s %10s %7s\n", "action", "tree", "list", "time ms", "floor ms",
                "ratio");
    for (std::size_t i = 0; i < kActionCount; ++i) {
        const Measured& r = results[i];
        std::printf("%-26s %7zu %7zu %10.1f %10.1f %7.2f\n", kActions[i].name, r.view.tree.size(),
                    r.view.listRows.size(), r.ms, r.floorMs, r.ms / std::max(r.floorMs, 0.001));
    }
    std::printf("%-26s %7s %7s %10.1f %10.1f %7.2f\n", "Collation (portable core)", "-", "-",
                collationMs, splitMs, collationMs / std::max(splitMs, 0.001));
    // Each edit's time above includes keeping its result on disk: what that adds to the
    // edit without it.
    std::printf("keeping unsaved edits (quests.lbd.unsaved):");
    const char* separator = "";
    for (std::size_t i = 0; i < kActionCount; ++i) {
        if (!kActions[i].edit) continue;
        const double keep = results[i].keepMs;
        std::printf("%s %s %.1f ms, +%.1f%%", separator, kActions[i].name, keep,
                    100 * keep / std::max(results[i].ms - keep, 0.001));
        separator = ";";
    }
    std::printf("\n");
    const double budget = 3 * Mb(files) + Mb(controlsPrivate);
    std::printf(
        "memory MB: peak working set %.1f, peak private %.1f; at process start %.1f / "
        "%.1f\n",
        Mb(program.peakWorkingSet), Mb(program.peakPrivateBytes), Mb(atStart.workingSet),
        Mb(atStart.privateBytes));
    std::printf(
        "memory MB: controls' share %.1f working set / %.1f private; 3 x files + "
        "controls = %.1f\n",
        Mb(controlsWorkingSet), Mb(controlsPrivate), budget);
    std::printf("memory ratio (peak private - at start) / (3 x files + controls) = %.2f\n",
                (Mb(program.peakPrivateBytes) - Mb(atStart.privateBytes)) / budget);
    for (const std::string& text : boxes.unexpected)
        std::printf("unexpected message box: %.200s\n", text.c_str());
    return floorsDiffer ? 3 : 0;
}

bool ParseCount(const char* text, std::size_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || text[0] == '-') return false;
    value = static_cast<std::size_t>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t entries = 0;
    if (argc == 4 && std::string(argv[1]) == "--generate" && ParseCount(argv[2], entries))
        return Generate(entries, argv[3]);
    if (argc == 3 && std::string(argv[1]) == "--controls") return MeasureControls(argv[2]);
    std::size_t lineMb = 0;
    if (argc == 4 && std::string(argv[1]) == "--large" && ParseCount(argv[2], entries) &&
        ParseCount(argv[3], lineMb)) {
        try {
            return RunLarge(entries, lineMb);
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "lorebinder_timing: %s\n", failure.what());
            return 1;
        }
    }

    std::size_t repeat = 3;
    if (argc < 2 || argc > 3 || !ParseCount(argv[1], entries) ||
        (argc == 3 && (!ParseCount(argv[2], repeat) || repeat == 0))) {
        std::fprintf(stderr, "usage: lorebinder_timing N [REPEAT] | --large N MB\n");
        return 2;
    }
    try {
        return Run(entries, static_cast<int>(repeat));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "lorebinder_timing: %s\n", failure.what());
        return 1;
    }
}
