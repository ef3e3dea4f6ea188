#include "journal/journal_lines.h"

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

const auto IsMark = [](char c) { return c == '@' || c == '#'; };

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
    // Deleting marks neither adds nor removes a "<", so cutting first gives the
    // same text and spares removing marks from what goes anyway.
    line = line.substr(0, line.find('<'));
    out.resize(line.size());
    char* const text = out.data();
    std::size_t kept = 0;
    for (const char c : line) {
        // Every byte is written and only a mark is written over: no branch to mispredict.
        text[kept] = c;
        kept += !IsMark(c);
    }
    out.resize(kept);
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
