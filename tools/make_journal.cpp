// Writes a generated journal.htm and quests.lbd into a folder, to try the
// program on a journal of any size:  make_journal N DIR [SEED]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/support/file_bytes.h"
#include "tests/support/journal_generator.h"
#include "tests/support/test_files.h"

namespace {

bool WriteFile(const std::string& path, std::string_view bytes) {
    if (WriteFileBytes(path, bytes)) return true;
    std::fprintf(stderr, "make_journal: can't write %s\n", path.c_str());
    return false;
}

bool ParseCount(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0' && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long long entries = 0;
    unsigned long long seed = 1;
    if (argc < 3 || argc > 4 || !ParseCount(argv[1], entries) ||
        (argc == 4 && !ParseCount(argv[3], seed))) {
        std::fprintf(stderr, "usage: make_journal N DIR [SEED]\n");
        return 2;
    }
    JournalGeneratorOptions options;
    options.entries = entries;
    options.seed = seed;
    const GeneratedJournal generated = GenerateJournal(options);

    const std::string dir = argv[2];
    if (!WriteFile(dir + "/journal.htm", generated.journal) ||
        !WriteFile(dir + "/quests.lbd", ImageBytes(generated.databaseImage))) {
        return 1;
    }
    std::printf("%zu journal entries (%zu distinct), %zu quests\n", options.entries,
                generated.expected.size(), generated.database.quests.size());
    return 0;
}
