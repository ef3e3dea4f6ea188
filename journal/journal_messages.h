// Every text that reading the journal shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "journal/code_page_text.h"
#include "journal/journal_reader.h"

// Shown once per read when journal.htm holds a line out of place.
inline constexpr std::string_view kJournalFormatWarning =
    "Warning: unexpected format of journal file.  This might not work.";
// Follows the warning, and is followed by the line itself, when the line is
// not one the reader knows.
inline constexpr std::string_view kJournalTroubleLineIntro =
    "\n\nThis is the journal line I'm having trouble with:\n";

// At most this many bytes of the troublesome line are quoted, in whole characters,
// then "...": a journal may hold a line of megabytes, and a message box can't show that.
inline constexpr std::size_t kQuotedLineLimit = 400;

// The message for a read's warning; empty when the read raised none.
std::string JournalWarningMessage(const JournalWarning& warning, LeadByteTest isLeadByte);

// The message for a journal file that isn't there.
std::string JournalOpenFailedMessage(std::string_view path);

// The message for a journal file that is there but won't open (held open by another
// program, no access, a folder), with the reason.
std::string JournalOpenRefusedMessage(std::string_view path, std::string_view reason);

// The reason when the journal's entries don't fit in memory.
std::string JournalOutOfMemoryMessage(std::string_view path);

// A read that failed part-way: the failure, and that the entries read before it stay.
std::string JournalReadFailedMessage(std::string_view failure, std::size_t entriesKept);
