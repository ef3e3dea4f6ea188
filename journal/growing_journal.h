// journal.htm as far as it has been read, ready to be read again while the game writes
// it. The game only appends while it plays: when the bytes read before are still there
// (the last few kilobytes before the place where reading stopped are compared), only
// the new bytes are read, and the reader goes on where it stopped, with a heading
// waiting for its text, a line cut off at the end and the texts met so far for dropping
// repeats. A shorter file, a changed tail, a read that ran out of memory part-way or
// one that took a last line without its line end is followed by a read from the start.
// Either way the journal ends as one read of the whole file would leave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_entry.h"
#include "journal/journal_reader.h"

// What a read needs of the open file. Both may throw; what was read before stays.
class JournalSource {
public:
    virtual void Seek(std::uint64_t position) = 0;
    // Up to `count` bytes from the current position; fewer only at the end of the file.
    virtual std::size_t Read(char* buffer, std::size_t count) = 0;

protected:
    ~JournalSource() = default;
};

class GrowingJournal {
public:
    // Enough to tell a rewritten journal from a longer one: a game that starts a new
    // journal changes its last entries too.
    static constexpr std::size_t kTailChecked = 4096;
    // Big enough to keep the number of reads small, small enough that a journal of any
    // size costs no more memory than its entries and its longest line.
    static constexpr std::size_t kChunkSize = 64 * 1024;

    enum class Way {
        None,      // nothing read: the journal is as it was
        Whole,     // read from the start: every entry is new and positions may have moved
        Appended,  // the entries before `first` are as they were
    };
    struct Reading {
        Way way = Way::None;
        std::size_t first = 0;  // the journal's entries from here on are new
    };

    // `journal` outlives this, and changes only through it or as its entries' marks.
    explicit GrowingJournal(std::vector<JournalEntry>& journal) : journal(journal) {}

    // Decides how a file of `length` bytes (its length when it was opened) is read, and
    // leaves `file` where the reading starts. Before a read from the start empties the
    // journal, `beforeStartingOver` runs, while the journal still holds what the views
    // show. `Reading` tells the caller what to link even when Take fails.
    Reading Start(JournalSource& file, std::uint64_t length,
                  const std::function<void()>& beforeStartingOver = {});
    // Reads up to `length`: what the file gains meanwhile waits for the next read. A
    // last line without its line end is read as a line when `finishing`, as a read of
    // the whole file takes it; otherwise it waits for the rest, which the game is still
    // writing.
    void Take(JournalSource& file, std::uint64_t length, bool finishing);

    // The first complaint of the whole journal, as a read from the start raises it.
    const JournalWarning& Warning() const;

private:
    bool TailUnchanged(JournalSource& file, std::uint64_t length);
    void Feed(const char* bytes, std::size_t size);

    std::vector<JournalEntry>& journal;
    std::optional<JournalReader> reader;
    std::uint64_t consumed = 0;  // bytes of the file fed to the reader
    std::string tail;            // the last of them, up to kTailChecked
    // Whether the reader may take more bytes: not after it has finished a last line, or
    // when a read stopped inside the reader's own work.
    bool canGoOn = false;
};
