// The quest database as a text that players read and edit in any text editor,
// and back. Every image that reads undamaged comes back byte for byte, apart
// from what the image writer itself changes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "questdb/quest_database.h"

// The text of the whole database: the comment block that explains the form,
// then one block per quest under a "# Quest N" comment.
std::string DumpText(const QuestDatabase& database);

struct TextLineError {
    std::size_t line;  // counting from 1
    std::string reason;
};

// Appends the quests that `text` (in the system code page: see text_encoding.h)
// describes to `database`. A file saved with CR LF line ends reads as one with LF. Returns the
// lines it can't take, in order; when there are any, what `database` holds is of no use.
std::vector<TextLineError> ParseText(std::string_view text, QuestDatabase& database);
