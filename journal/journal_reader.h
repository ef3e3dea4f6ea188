#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_entry.h"
#include "journal/line_splitter.h"
#include "questdb/text_positions.h"

// The one complaint a read of the journal may raise: the first line out of
// place decides which kind, and later ones add nothing.
struct JournalWarning {
    enum class Kind {
        None,
        Short,  // a heading or text line out of order
        Long,   // an unrecognised line, quoted in `line`
    };
    Kind kind = Kind::None;
    std::string line;
};

// Turns journal.htm's bytes into distinct journal entries. The bytes may come
// in chunks of any size; the entries go straight into the caller's list, so a
// read that stops part-way leaves the entries read so far in place.
//
//     JournalReader reader(journal);
//     while (...) reader.Feed(chunk, size);
//     reader.Finish();
//     ... show JournalWarningMessage(reader.Warning()), then MatchJournal(journal, database) ...
class JournalReader {
public:
    // Empties `journal`, which must outlive the reader.
    explicit JournalReader(std::vector<JournalEntry>& journal);

    void Feed(const char* bytes, std::size_t size);
    void Feed(std::string_view bytes) { Feed(bytes.data(), bytes.size()); }
    // Handles a last line without a line end. A heading still waiting for its
    // text is dropped silently.
    void Finish();

    const JournalWarning& Warning() const { return warning; }

    // Whether the bytes so far end where an entry ends: no part of a line, no heading
    // waiting for its text. Finish would change nothing then, and more bytes may follow.
    bool AtRest() const { return !headingPending && !splitter.HoldsPartOfALine(); }
    // Whether byte 26 or Finish has ended the input: later bytes are ignored.
    bool Ended() const { return splitter.Ended(); }

private:
    void HandleLine(std::string_view line);
    bool IsRepeat(std::string_view text, std::size_t hash) const;
    void Warn(JournalWarning::Kind kind, std::string_view line);

    std::vector<JournalEntry>& journal;
    // Each entry's position in the journal, found by its text.
    TextPositions<std::size_t> entryTexts;
    LineSplitter splitter;
    std::string workHeading;
    std::string workText;
    bool headingPending = false;
    JournalWarning warning;
};

struct JournalParseResult {
    std::vector<JournalEntry> entries;
    JournalWarning warning;
};

// Reads a whole journal held in memory.
JournalParseResult ParseJournal(std::string_view bytes);
