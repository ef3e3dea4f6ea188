#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/byte_buffer.h"
#include "questdb/quest_database.h"

// Makes a journal.htm and a quests.lbd that look like a long game's: headings
// in font tags, entry texts of 80 to 600 bytes with "@" and "#" marks and some
// bytes of 0x80 and above, entries repeated later in the journal, quests of 1
// to 20 items, some finishers, entries that no quest holds and a few texts
// that two quests hold. The same options give the same bytes on every
// platform.
struct JournalGeneratorOptions {
    std::size_t entries = 1000;      // entries written to the journal, repeats included
    double repeatedShare = 0.05;     // entries that repeat an earlier entry's text
    double unquestedShare = 0.20;    // distinct texts that no quest holds
    double finisherShare = 0.10;     // database items flagged as finishers
    std::size_t textsHeldTwice = 3;  // texts that a second quest holds as well
    double emptyLineShare = 0.05;    // entries followed by an empty line
    std::uint64_t seed = 1;
};

struct GeneratedJournal {
    std::string journal;  // the bytes of journal.htm, CR LF line ends
    QuestDatabase database;
    ByteBuffer databaseImage;  // the bytes of quests.lbd
    // What a reader makes of `journal`: the distinct entries in order of
    // first appearance, each with the heading of its first appearance.
    std::vector<JournalEntry> expected;
};

GeneratedJournal GenerateJournal(const JournalGeneratorOptions& options);
