// Writes a generated journal.htm and quests.lbd into a folder, to try the
// program on a journal of any size:  make_journal N DIR [SEED]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/journal_generator.h"

namespace {

bool WriteFile(const std::string& path, const char* bytes, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes, static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_journal: can't write %s\n", path.c_str());
        return false;
    }
    return true;
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
    const ByteBuffer& image = generated.databaseImage;
    if (!WriteFile(dir + "/journal.htm", generated.journal.data(), generated.journal.size()) ||
        !WriteFile(dir + "/quests.lbd", reinterpret_cast<const char*>(image.Data()),
                   image.Size())) {
        return 1;
    }
    std::printf("%zu journal entries (%zu distinct), %zu quests\n", options.entries,
                generated.expected.size(), generated.database.quests.size());
    return 0;
}
