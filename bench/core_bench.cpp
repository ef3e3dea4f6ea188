// Every step of the portable core that a user action runs, on generated
// journals of 1,000 to 100,000 entries, beside the floor: reading the same
// journal.htm from disk and making each of its lines a string of its own.
//
// The floor is the least work that any reader of the file must do: the bytes
// come from the file in the same chunks, every line is found, and every line
// becomes a std::string that outlives the read (a reader that keeps entries
// owns their bytes). It does not classify, clean, deduplicate or look up.
//
// Every benchmark runs warm and cold; see BeginIteration.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <unistd.h>

#include "journal/journal_matching.h"
#include "journal/line_splitter.h"
#include "tests/support/file_bytes.h"
#include "tests/support/journal_generator.h"
#include "tests/support/test_files.h"
#include "views/list_filter.h"
#include "views/quest_groups.h"
#include "views/search_steps.h"

namespace {

// A generated journal.htm on disk, with its database in memory and as an image.
struct DiskCorpus {
    std::string journalPath;
    std::size_t journalBytes = 0;
    QuestDatabase database;
    ByteBuffer image;

    ~DiskCorpus() {
        std::error_code ignored;
        std::filesystem::remove(journalPath, ignored);
    }
};

// `twice` writes the whole journal a second time after itself: every entry then
// comes again, and the reader drops the repeats.
const DiskCorpus& GetCorpus(std::size_t entries, bool twice = false) {
    static std::map<std::pair<std::size_t, bool>, std::unique_ptr<DiskCorpus>> corpora;
    std::unique_ptr<DiskCorpus>& corpus = corpora[{entries, twice}];
    if (corpus) return *corpus;

    JournalGeneratorOptions options;  // the defaults look like a long game's journal
    options.entries = entries;
    GeneratedJournal generated = GenerateJournal(options);
    if (twice) generated.journal += generated.journal;
    corpus = std::make_unique<DiskCorpus>();
    corpus->journalPath = (std::filesystem::temp_directory_path() /
                           ("lorebinder-bench-" + std::to_string(getpid()) + "-" +
                            std::to_string(entries) + (twice ? "-twice" : "") + ".htm"))
                              .string();
    if (!WriteFileBytes(corpus->journalPath, generated.journal)) {
        std::fprintf(stderr, "core_bench: can't write %s\n", corpus->journalPath.c_str());
        std::exit(1);
    }
    corpus->journalBytes = generated.journal.size();
    corpus->database = std::move(generated.database);
    corpus->image = std::move(generated.databaseImage);
    return *corpus;
}

// Cold runs begin each iteration, untimed, by reading a buffer larger than any of the
// processor's caches, so that the work finds nothing of its data there: a user's click
// comes after the game has run, and start-up reads a journal written long before.
// Warm runs repeat the work on what the previous iteration left in the caches, which
// flatters the sizes whose data fits (here about 10,000 entries) over the larger ones.
void BeginIteration(benchmark::State& state) {
    if (state.range(1) == 0) return;
    state.PauseTiming();
    static std::vector<unsigned char> sweep(64u << 20, 1);
    unsigned sum = 0;
    for (std::size_t at = 0; at < sweep.size(); at += 64) sum += sweep[at];
    benchmark::DoNotOptimize(sum);
    state.ResumeTiming();
}

void SetFileBytes(benchmark::State& state, const DiskCorpus& corpus) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.journalBytes));
}

void ReadFileAndSplitLines(benchmark::State& state, bool twice) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)), twice);
    for (auto _ : state) {
        BeginIteration(state);
        LineSplitter splitter;
        std::vector<std::string> lines;
        auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
        ReadFileInChunks(
            corpus.journalPath, kJournalChunk,
            [&](const char* bytes, std::size_t size) { splitter.Feed(bytes, size, keep); });
        splitter.Finish(keep);
        benchmark::DoNotOptimize(lines.data());
    }
    SetFileBytes(state, corpus);
}

// What start-up and "Reload Journal" do before the controls: read, deduplicate,
// match against the database, and group the quests for the tree.
void Collate(benchmark::State& state, bool twice) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)), twice);
    QuestDatabase database = corpus.database;
    std::size_t shown = 0;
    for (auto _ : state) {
        BeginIteration(state);
        std::vector<JournalEntry> journal = ReadJournalFile(corpus.journalPath);
        MatchJournal(journal, database);
        const std::vector<QuestGroup> groups = GroupQuests(database, journal, true, true);
        shown = groups.size();
        benchmark::DoNotOptimize(groups.data());
    }
    state.counters["quests"] = static_cast<double>(shown);
    SetFileBytes(state, corpus);
}

void BM_Floor_ReadFileAndSplitLines(benchmark::State& state) {
    ReadFileAndSplitLines(state, false);
}
void BM_Collate(benchmark::State& state) {
    Collate(state, false);
}
// A journal in which every entry comes twice, beside its own floor: what dropping
// the repeats costs.
void BM_Floor_ReadFileAndSplitLinesEveryEntryTwice(benchmark::State& state) {
    ReadFileAndSplitLines(state, true);
}
void BM_CollateEveryEntryTwice(benchmark::State& state) {
    Collate(state, true);
}

// The first two steps of BM_Collate on their own, to see where its time goes: the
// read with its deduplication, then the match against the database.
void BM_ReadJournal(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        std::vector<JournalEntry> journal = ReadJournalFile(corpus.journalPath);
        benchmark::DoNotOptimize(journal.data());
    }
    SetFileBytes(state, corpus);
}

void BM_MatchJournal(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
    QuestDatabase database = corpus.database;
    std::vector<JournalEntry> journal = ReadJournalFile(corpus.journalPath);
    for (auto _ : state) {
        BeginIteration(state);
        MatchJournal(journal, database);
        benchmark::DoNotOptimize(journal.data());
    }
}

// A matched journal and its database, for the steps that follow the read.
struct Matched {
    QuestDatabase database;
    std::vector<JournalEntry> journal;
};

Matched MatchedCorpus(std::size_t entries) {
    const DiskCorpus& corpus = GetCorpus(entries);
    Matched matched{corpus.database, ReadJournalFile(corpus.journalPath)};
    MatchJournal(matched.journal, matched.database);
    return matched;
}

void BM_GroupQuests(benchmark::State& state) {
    Matched matched = MatchedCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        auto groups = GroupQuests(matched.database, matched.journal, true, true);
        benchmark::DoNotOptimize(groups.data());
    }
}

void BM_FilterJournal(benchmark::State& state) {
    Matched matched = MatchedCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        JournalListing listing = FilterJournal(matched.journal, true, true);
        benchmark::DoNotOptimize(listing.rows.data());
    }
}

// Western code page lower-casing, the work the program asks of the platform.
void LowerInPlace(std::string& text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            c = static_cast<char>(byte + 32);
        }
    }
}

// One Find Next over every entry listed, none of which matches: every row's
// text is copied and lowered, then searched.
void BM_SearchStepNoMatch(benchmark::State& state) {
    Matched matched = MatchedCorpus(static_cast<std::size_t>(state.range(0)));
    const std::vector<std::int32_t> rows = FilterJournal(matched.journal, true, true).rows;
    const auto singleByte = [](unsigned char) { return false; };
    for (auto _ : state) {
        BeginIteration(state);
        std::string needle = "Nowhere In The Journal";
        LowerInPlace(needle);
        const auto found = FindMatchingRow(static_cast<int>(rows.size()), 0, 1, [&](int row) {
            std::string text = matched.journal[static_cast<std::size_t>(rows[row])].text;
            LowerInPlace(text);
            return ContainsText(text, needle, singleByte);
        });
        benchmark::DoNotOptimize(found);
    }
}

// The database's side of one tree rebuild: every shown entry looked up by text,
// as the tree does for each item it inserts; after an editing command, the first
// lookup rebuilds the database's index as well.
void LookUpShownEntries(benchmark::State& state, bool afterEdit) {
    Matched matched = MatchedCorpus(static_cast<std::size_t>(state.range(0)));
    const std::vector<QuestGroup> groups =
        GroupQuests(matched.database, matched.journal, true, true);
    std::vector<std::string> shown;
    for (const QuestGroup& group : groups) {
        for (const QuestGroupEntry& entry : group.entries)
            shown.push_back(matched.journal[static_cast<std::size_t>(entry.position)].text);
    }
    Quest& quest = matched.database.quests.front();
    for (auto _ : state) {
        BeginIteration(state);
        if (afterEdit)
            matched.database.AddItem(quest, "an entry the journal does not hold", -1, false);
        for (const std::string& text : shown) {
            benchmark::DoNotOptimize(matched.database.FindQuestAndItem(text));
        }
        if (afterEdit) {
            state.PauseTiming();
            matched.database.RemoveItem(&quest, &quest.items.back());
            state.ResumeTiming();
        }
    }
    state.counters["lookups"] = static_cast<double>(shown.size());
}

void BM_LookUpShownEntries(benchmark::State& state) {
    LookUpShownEntries(state, false);
}
void BM_EditThenLookUpShownEntries(benchmark::State& state) {
    LookUpShownEntries(state, true);
}

void BM_WriteDatabaseImage(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        ByteBuffer image;
        corpus.database.WriteImage(image);
        benchmark::DoNotOptimize(image.Data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.image.Size()));
}

void BM_ReadDatabaseImage(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        QuestDatabase database;
        database.ReadImage(corpus.image.Data(), corpus.image.Size());
        benchmark::DoNotOptimize(database.quests.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.image.Size()));
}

// Names carry /entries/0 for warm runs and /entries/1 for cold ones. A warm run
// warms up untimed first, as a cold run may have gone just before.
void Warm(benchmark::internal::Benchmark* benchmark) {
    for (int entries : {1000, 5000, 10000, 20000, 100000}) benchmark->Args({entries, 0});
    benchmark->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.05);
}

// Each cold iteration costs a sweep of the caches besides its own time, so these run
// a fixed, small number of iterations; --benchmark_repetitions steadies them.
void Cold(benchmark::internal::Benchmark* benchmark) {
    for (int entries : {1000, 5000, 10000, 20000, 100000}) benchmark->Args({entries, 1});
    benchmark->Unit(benchmark::kMillisecond)->Iterations(30);
}

}  // namespace

#define LOREBINDER_BENCHMARK(function) \
    BENCHMARK(function)->Apply(Warm);  \
    BENCHMARK(function)->Apply(Cold)

LOREBINDER_BENCHMARK(BM_Floor_ReadFileAndSplitLines);
LOREBINDER_BENCHMARK(BM_Collate);
LOREBINDER_BENCHMARK(BM_ReadJournal);
LOREBINDER_BENCHMARK(BM_MatchJournal);
LOREBINDER_BENCHMARK(BM_Floor_ReadFileAndSplitLinesEveryEntryTwice);
LOREBINDER_BENCHMARK(BM_CollateEveryEntryTwice);
LOREBINDER_BENCHMARK(BM_GroupQuests);
LOREBINDER_BENCHMARK(BM_FilterJournal);
LOREBINDER_BENCHMARK(BM_SearchStepNoMatch);
LOREBINDER_BENCHMARK(BM_LookUpShownEntries);
LOREBINDER_BENCHMARK(BM_EditThenLookUpShownEntries);
LOREBINDER_BENCHMARK(BM_WriteDatabaseImage);
LOREBINDER_BENCHMARK(BM_ReadDatabaseImage);

BENCHMARK_MAIN();
