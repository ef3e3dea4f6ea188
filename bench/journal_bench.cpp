// Reading, deduplicating and matching generated journals, beside the floor:
// splitting the same bytes into lines and nothing else.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

#include "bench/journal_generator.h"
#include "journal/journal_matching.h"
#include "journal/journal_reader.h"
#include "journal/line_splitter.h"

namespace {

// The reader gets the bytes in chunks, as a program reading the file piece by
// piece hands them over.
constexpr std::size_t kChunk = 64 * 1024;

struct Corpus {
    std::string journal;
    QuestDatabase database;
};

// A journal of `entries` distinct entries and a database that holds every one
// of their texts; `twice` writes the whole journal a second time after itself.
const Corpus& GetCorpus(std::size_t entries, bool twice) {
    static std::map<std::pair<std::size_t, bool>, std::unique_ptr<Corpus>> corpora;
    std::unique_ptr<Corpus>& corpus = corpora[{entries, twice}];
    if (!corpus) {
        JournalGeneratorOptions options;
        options.entries = entries;
        options.repeatedShare = 0;
        options.unquestedShare = 0;
        options.textsHeldTwice = 0;
        GeneratedJournal generated = GenerateJournal(options);
        corpus = std::make_unique<Corpus>();
        corpus->journal = generated.journal;
        if (twice) corpus->journal += generated.journal;
        corpus->database = std::move(generated.database);
    }
    return *corpus;
}

template <typename FeedChunk>
void InChunks(const std::string& bytes, FeedChunk&& feed) {
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        feed(bytes.data() + at, std::min(kChunk, bytes.size() - at));
    }
}

void SplitLinesOnly(benchmark::State& state, bool twice) {
    const Corpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)), twice);
    for (auto _ : state) {
        LineSplitter splitter;
        std::size_t lines = 0;
        auto count = [&lines](std::string_view line) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        };
        InChunks(corpus.journal,
                 [&](const char* bytes, std::size_t size) { splitter.Feed(bytes, size, count); });
        splitter.Finish(count);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.journal.size()));
}

// The journal's entries, as the program reads them.
std::vector<JournalEntry> ReadCorpus(const std::string& bytes) {
    std::vector<JournalEntry> journal;
    JournalReader reader(journal);
    InChunks(bytes, [&](const char* chunk, std::size_t size) { reader.Feed(chunk, size); });
    reader.Finish();
    return journal;
}

void ReadAndMatch(benchmark::State& state, bool twice) {
    const Corpus& shared = GetCorpus(static_cast<std::size_t>(state.range(0)), twice);
    QuestDatabase database = shared.database;
    std::size_t collated = 0;
    for (auto _ : state) {
        std::vector<JournalEntry> journal = ReadCorpus(shared.journal);
        MatchJournal(journal, database);
        collated = static_cast<std::size_t>(std::count_if(
            journal.begin(), journal.end(), [](const JournalEntry& e) { return e.collated; }));
    }
    state.counters["collated"] = static_cast<double>(collated);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * shared.journal.size()));
}

// A floor that owns its lines: every reader that keeps entries pays at
// least one copy and one allocation per line.
void BM_SplitAndCopyLines(benchmark::State& state) {
    const Corpus& corpus = GetCorpus(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        LineSplitter splitter;
        std::vector<std::string> lines;
        auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
        InChunks(corpus.journal,
                 [&](const char* bytes, std::size_t size) { splitter.Feed(bytes, size, keep); });
        splitter.Finish(keep);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.journal.size()));
}

// The two halves of ReadAndMatch, to see where its time goes.
void BM_ReadOnly(benchmark::State& state) {
    const Corpus& shared = GetCorpus(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        std::vector<JournalEntry> journal = ReadCorpus(shared.journal);
        benchmark::DoNotOptimize(journal.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * shared.journal.size()));
}

void BM_MatchOnly(benchmark::State& state) {
    const Corpus& shared = GetCorpus(static_cast<std::size_t>(state.range(0)), false);
    QuestDatabase database = shared.database;
    std::vector<JournalEntry> journal = ReadCorpus(shared.journal);
    for (auto _ : state) {
        MatchJournal(journal, database);
        benchmark::DoNotOptimize(journal.data());
    }
}

void BM_SplitLines(benchmark::State& state) {
    SplitLinesOnly(state, false);
}
void BM_ReadAndMatch(benchmark::State& state) {
    ReadAndMatch(state, false);
}
void BM_SplitLinesEveryEntryTwice(benchmark::State& state) {
    SplitLinesOnly(state, true);
}
void BM_ReadAndMatchEveryEntryTwice(benchmark::State& state) {
    ReadAndMatch(state, true);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    for (int entries : {1000, 5000, 10000, 20000, 100000}) benchmark->Arg(entries);
    benchmark->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_SplitLines)->Apply(Sizes);
BENCHMARK(BM_SplitAndCopyLines)->Apply(Sizes);
BENCHMARK(BM_ReadAndMatch)->Apply(Sizes);
BENCHMARK(BM_ReadOnly)->Apply(Sizes);
BENCHMARK(BM_MatchOnly)->Apply(Sizes);
BENCHMARK(BM_SplitLinesEveryEntryTwice)->Apply(Sizes);
BENCHMARK(BM_ReadAndMatchEveryEntryTwice)->Apply(Sizes);

BENCHMARK_MAIN();
