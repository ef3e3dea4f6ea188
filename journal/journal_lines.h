#pragma once

#include <string>
#include <string_view>

// What a line of journal.htm is, by its ending alone.
enum class JournalLineKind {
    Heading,       // ends in "<BR>"
    Text,          // ends in "<P>"
    Empty,         // no bytes at all
    Unrecognised,  // anything else, a trailing blank after a marker included
};

JournalLineKind ClassifyJournalLine(std::string_view line);

// Keeps the words between the line's first ">" and the next "<".
void ExtractHeading(std::string& line);
// Deletes every "@" and "#" mark, then cuts the text at its first "<".
void CleanEntryText(std::string& line);

// The same two steps, writing the result into `out` so that a reader can reuse
// one buffer for every line.
void AssignHeading(std::string_view line, std::string& out);
void AssignCleanEntryText(std::string_view line, std::string& out);
