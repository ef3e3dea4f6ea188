// Reads any bytes as journal.htm, fed to the reader in chunks whose sizes the
// input chooses, and matches the entries against a small quest database that
// the input holds as well. A reference reader, written the slow and obvious
// way, must agree with the real one on every entry and on the warning, and the
// matching must leave exactly the links that the views rely on.
//
// Input: byte 0 is n; bytes 1 to n are a quests.lbd image (whatever the image
// reader keeps of it is the database); the next byte chooses the chunking
// (0: the journal in one piece); the rest is the journal.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_lines.h"
#include "journal/journal_matching.h"
#include "journal/journal_messages.h"
#include "journal/journal_reader.h"
#include "questdb/quest_database.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool EndsWith(const std::string& line, const std::string& marker) {
    return line.size() >= marker.size() &&
           line.compare(line.size() - marker.size(), marker.size(), marker) == 0;
}

std::string ReferenceHeading(std::string line) {
    const std::size_t close = line.find('>');
    if (close != std::string::npos) line = line.substr(close + 1);
    const std::size_t open = line.find('<');
    if (open != std::string::npos) line = line.substr(0, open);
    return line;
}

std::string ReferenceEntryText(std::string line) {
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == '@' || line[at] == '#')
            line.erase(at, 1);
        else
            ++at;
    }
    const std::size_t open = line.find('<');
    if (open != std::string::npos) line = line.substr(0, open);
    return line;
}

// Text-mode lines: byte 26 ends the file, a line feed ends a line and takes one
// carriage return before it along; a last line without a line feed counts.
std::vector<std::string> ReferenceLines(std::string bytes) {
    const std::size_t eof = bytes.find('\x1A');
    if (eof != std::string::npos) bytes.resize(eof);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t feed; (feed = bytes.find('\n', start)) != std::string::npos;
         start = feed + 1) {
        std::string line = bytes.substr(start, feed - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

struct ReferenceEntry {
    std::string heading, text;
};

struct ReferenceRead {
    std::vector<ReferenceEntry> entries;
    JournalWarning::Kind warning = JournalWarning::Kind::None;
    std::string warningLine;
};

ReferenceRead ReadReference(const std::string& bytes) {
    ReferenceRead read;
    bool headingPending = false;
    std::string heading;
    auto warn = [&](JournalWarning::Kind kind, const std::string& line) {
        if (read.warning != JournalWarning::Kind::None) return;
        read.warning = kind;
        if (kind == JournalWarning::Kind::Long) read.warningLine = line;
    };
    for (const std::string& line : ReferenceLines(bytes)) {
        if (EndsWith(line, "<BR>")) {
            if (headingPending) {
                warn(JournalWarning::Kind::Short, line);
            } else {
                heading = ReferenceHeading(line);
                headingPending = true;
            }
        } else if (EndsWith(line, "<P>")) {
            if (!headingPending) {
                warn(JournalWarning::Kind::Short, line);
                continue;
            }
            headingPending = false;
            const std::string text = ReferenceEntryText(line);
            bool seen = false;
            for (const ReferenceEntry& entry : read.entries) seen = seen || entry.text == text;
            if (!seen) read.entries.push_back({heading, text});
        } else if (!line.empty()) {
            warn(JournalWarning::Kind::Long, line);
        }
    }
    return read;
}

// Small chunks find the lines cut at every place; a few large ones the long runs.
class Chunker {
public:
    explicit Chunker(std::uint8_t seed)
        : state(0x9E3779B9u ^ seed), largest(seed < 128 ? 8 : 700) {}
    std::size_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return 1 + state % largest;
    }

private:
    std::uint32_t state;
    std::uint32_t largest;
};

QuestItem* ReferenceFindItem(QuestDatabase& database, const std::string& text) {
    for (Quest& quest : database.quests)
        for (QuestItem& item : quest.items)
            if (item.text == text) return &item;
    return nullptr;
}

// The links between journal and database, as a linear FindItem would set them.
void CheckMatched(const std::vector<JournalEntry>& journal, QuestDatabase& database) {
    std::vector<const QuestItem*> linked;
    for (std::size_t i = 0; i < journal.size(); ++i) {
        QuestItem* item = ReferenceFindItem(database, journal[i].text);
        Require(journal[i].collated == (item ? 1 : 0));
        Require(database.FindItem(journal[i].text) == item);
        if (!item) continue;
        Require(item->journalIndex == static_cast<std::int32_t>(i));
        linked.push_back(item);
    }
    for (Quest& quest : database.quests) {
        for (QuestItem& item : quest.items) {
            if (std::find(linked.begin(), linked.end(), &item) != linked.end()) continue;
            Require(item.journalIndex == -1);
        }
    }
}

void CheckSameEntries(const std::vector<JournalEntry>& entries,
                      const std::vector<ReferenceEntry>& expected, std::size_t count) {
    Require(entries.size() >= count);
    for (std::size_t i = 0; i < count; ++i) {
        Require(entries[i].heading == expected[i].heading);
        Require(entries[i].text == expected[i].text);
        Require(entries[i].treeItem == nullptr);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t imageSize = std::min<std::size_t>(data[0], size - 1);
    std::size_t at = 1;
    QuestDatabase database;
    database.ReadImage(data + at, imageSize);
    at += imageSize;
    const std::uint8_t chunking = at < size ? data[at++] : 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + at, size - at);

    const ReferenceRead expected = ReadReference(bytes);

    // The real reader, in chunks. Every chunk boundary is also a place where a
    // read may fail; the entries read up to the failure are kept and matched.
    std::vector<JournalEntry> journal;
    JournalReader reader(journal);
    Chunker chunker(chunking);
    const std::size_t stopAfter = chunking % 7;
    std::size_t chunks = 0;
    for (std::size_t done = 0; done < bytes.size(); ++chunks) {
        const std::size_t chunk =
            chunking == 0 ? bytes.size() : std::min(chunker.Next(), bytes.size() - done);
        if (chunks == stopAfter) {
            std::vector<JournalEntry> cut = journal;
            CheckSameEntries(cut, expected.entries, cut.size());
            QuestDatabase copy = database;
            MatchJournal(cut, copy);
            CheckMatched(cut, copy);
        }
        reader.Feed(bytes.data() + done, chunk);
        done += chunk;
    }
    reader.Finish();

    Require(journal.size() == expected.entries.size());
    CheckSameEntries(journal, expected.entries, journal.size());
    Require(reader.Warning().kind == expected.warning);
    Require(reader.Warning().line == expected.warningLine);
    // However long the line, the message quotes a bounded part of it, in whole
    // characters of a code page where every high byte leads.
    const auto highBytesLead = [](unsigned char byte) { return byte >= 0x80; };
    Require(JournalWarningMessage(reader.Warning(), highBytesLead).size() <=
            200 + kQuotedLineLimit);

    MatchJournal(journal, database);
    CheckMatched(journal, database);
    // Matching again, as a reload of the same journal does, changes nothing.
    MatchJournal(journal, database);
    CheckMatched(journal, database);

    // The in-place steps agree with the ones the reader uses.
    for (const std::string& line : ReferenceLines(bytes)) {
        std::string heading = line, text = line;
        ExtractHeading(heading);
        CleanEntryText(text);
        Require(heading == ReferenceHeading(line));
        Require(text == ReferenceEntryText(line));
    }
    return 0;
}
