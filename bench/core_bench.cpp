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
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "bench/journal_generator.h"
#include "journal/journal_matching.h"
#include "journal/journal_reader.h"
#include "journal/line_splitter.h"
#include "views/list_filter.h"
#include "views/quest_groups.h"
#include "views/search_steps.h"

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// A generated journal.htm on disk, with its database in memory and as an image.
struct DiskCorpus {
    std::filesystem::path journalPath;
    std::size_t journalBytes = 0;
    QuestDatabase database;
    ByteBuffer image;

    ~DiskCorpus() {
        std::error_code ignored;
        std::filesystem::remove(journalPath, ignored);
    }
};

const DiskCorpus& GetCorpus(std::size_t entries) {
    static std::map<std::size_t, std::unique_ptr<DiskCorpus>> corpora;
    std::unique_ptr<DiskCorpus>& corpus = corpora[entries];
    if (corpus) return *corpus;

    JournalGeneratorOptions options;  // the defaults look like a long game's journal
    options.entries = entries;
    GeneratedJournal generated = GenerateJournal(options);
    corpus = std::make_unique<DiskCorpus>();
    corpus->journalPath =
        std::filesystem::temp_directory_path() /
        ("lorebinder-bench-" + std::to_string(getpid()) + "-" + std::to_string(entries) + ".htm");
    std::FILE* file = std::fopen(corpus->journalPath.string().c_str(), "wb");
    if (file == nullptr ||
        std::fwrite(generated.journal.data(), 1, generated.journal.size(), file) !=
            generated.journal.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "core_bench: can't write %s\n", corpus->journalPath.string().c_str());
        std::exit(1);
    }
    corpus->journalBytes = generated.journal.size();
    corpus->database = std::move(generated.database);
    corpus->image = std::move(generated.databaseImage);
    return *corpus;
}

// Hands the file's bytes to feed(bytes, size) in chunks, as the program reads it.
template <typename Feed>
void ReadFileInChunks(const std::filesystem::path& path, Feed&& feed) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) std::abort();
    std::vector<char> chunk(kChunk);
    for (;;) {
        const std::size_t read = std::fread(chunk.data(), 1, chunk.size(), file);
        if (read == 0) break;
        feed(chunk.data(), read);
    }
    std::fclose(file);
}

// The journal's entries, as the program reads them.
std::vector<JournalEntry> ReadJournalFile(const std::filesystem::path& path) {
    std::vector<JournalEntry> journal;
    JournalReader reader(journal);
    ReadFileInChunks(path, [&](const char* bytes, std::size_t size) { reader.Feed(bytes, size); });
    reader.Finish();
    return journal;
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

void BM_Floor_ReadFileAndSplitLines(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BeginIteration(state);
        LineSplitter splitter;
        std::vector<std::string> lines;
        auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
        ReadFileInChunks(corpus.journalPath, [&](const char* bytes, std::size_t size) {
            splitter.Feed(bytes, size, keep);
        });
        splitter.Finish(keep);
        benchmark::DoNotOptimize(lines.data());
    }
    SetFileBytes(state, corpus);
}

// What start-up and "Reload Journal" do before the controls: read, deduplicate,
// match against the database, and group the quests for the tree.
void BM_Collate(benchmark::State& state) {
    const DiskCorpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)));
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

#define LOREBINDER_BENCHMARK(function)        \
    BENCHMARK(function)->Apply(Warm);         \
    BENCHMARK(function)->Apply(Cold)

LOREBINDER_BENCHMARK(BM_Floor_ReadFileAndSplitLines);
LOREBINDER_BENCHMARK(BM_Collate);
LOREBINDER_BENCHMARK(BM_GroupQuests);
LOREBINDER_BENCHMARK(BM_FilterJournal);
LOREBINDER_BENCHMARK(BM_SearchStepNoMatch);
LOREBINDER_BENCHMARK(BM_LookUpShownEntries);
LOREBINDER_BENCHMARK(BM_EditThenLookUpShownEntries);
LOREBINDER_BENCHMARK(BM_WriteDatabaseImage);
LOREBINDER_BENCHMARK(BM_ReadDatabaseImage);

BENCHMARK_MAIN();
