#include "journal/journal_lines.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

bool EndsWith(std::string_view line, std::string_view marker) {
    return line.size() >= marker.size() &&
           line.compare(line.size() - marker.size(), marker.size(), marker) == 0;
}

std::string_view HeadingOf(std::string_view line) {
    const std::size_t close = line.find('>');
    if (close != std::string_view::npos) line.remove_prefix(close + 1);
    const std::size_t open = line.find('<');
    if (open != std::string_view::npos) line = line.substr(0, open);
    return line;
}

// True when one of the eight bytes in `word` is "@" or "#": a byte equal to
// the mark turns into zero under the xor, and the classic test finds it.
bool HasMark(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    const std::uint64_t at = word ^ (kOnes * '@');
    const std::uint64_t hash = word ^ (kOnes * '#');
    return (((at - kOnes) & ~at) | ((hash - kOnes) & ~hash)) & kHighs;
}

// Writes the byte and keeps it only when it is no mark; no branch to guess
// wrong on text where marks come every few words.
char* CopyUnlessMark(char c, char* to) {
    *to = c;
    return to + ((c != '@') & (c != '#'));
}

}  // namespace

JournalLineKind ClassifyJournalLine(std::string_view line) {
    if (EndsWith(line, "<BR>")) return JournalLineKind::Heading;
    if (EndsWith(line, "<P>")) return JournalLineKind::Text;
    if (line.empty()) return JournalLineKind::Empty;
    return JournalLineKind::Unrecognised;
}

void AssignHeading(std::string_view line, std::string& out) {
    out.assign(HeadingOf(line));
}

void AssignCleanEntryText(std::string_view line, std::string& out) {
    // Deleting marks neither adds nor removes a "<", so cutting first and
    // copying what lies between the marks gives the same text in one pass.
    const std::size_t open = line.find('<');
    if (open != std::string_view::npos) line = line.substr(0, open);
    out.resize(line.size());
    const char* from = line.data();
    const char* const end = from + line.size();
    char* to = out.data();
    // Marks are sparse: most eight-byte blocks have none and move whole.
    for (; end - from >= 8; from += 8) {
        std::uint64_t block;
        std::memcpy(&block, from, 8);
        if (!HasMark(block)) {
            std::memcpy(to, from, 8);
            to += 8;
            continue;
        }
        for (int i = 0; i < 8; ++i) to = CopyUnlessMark(from[i], to);
    }
    for (; from < end; ++from) to = CopyUnlessMark(*from, to);
    out.resize(static_cast<std::size_t>(to - out.data()));
}

void ExtractHeading(std::string& line) {
    const std::string_view heading = HeadingOf(line);
    line = std::string(heading);
}

void CleanEntryText(std::string& line) {
    std::string cleaned;
    AssignCleanEntryText(line, cleaned);
    line = std::move(cleaned);
}
