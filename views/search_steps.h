#pragma once

#include <functional>
#include <optional>
#include <string>

#include "journal/code_page_text.h"

// Which row a search of the journal list lands on. Rows are visited once each:
// with a valid selection, every other row in the direction of the search
// (wrapping around) and the selected row last; without one, row 0 first in
// either direction, then onward, wrapping. direction < 0 searches backward.
// Returns the first row for which rowMatches is true, or none.
std::optional<int> FindMatchingRow(int rowCount, int selection, int direction,
                                   const std::function<bool(int)>& rowMatches);

// Whether needle occurs in haystack starting on a character boundary. Both are
// already lower-cased bytes in the system code page; isLeadByte tells the first
// byte of a double-byte character (always false in single-byte code pages), so
// a match never starts on a trail byte. An empty needle is found anywhere.
bool ContainsText(const std::string& haystack, const std::string& needle, LeadByteTest isLeadByte);

// The part of text from position start up to, not including, position end, as an
// edit box showing text counts positions: in bytes on some systems, in characters
// on others (a character being a lead byte with the byte after it, or one byte).
// positionCount, the number of positions the box counts in the whole text, tells
// which. Positions outside the text are moved to its nearer end.
std::string TextBetween(const std::string& text, int start, int end, int positionCount,
                        LeadByteTest isLeadByte);
