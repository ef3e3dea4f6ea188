#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opaque handle of the quest-tree item that shows an entry; the Win32 side
// stores an HTREEITEM here. Null when the tree does not show the entry.
using TreeItemHandle = void*;

// One distinct entry of the player's journal.
class JournalEntry {
public:
    std::string heading;
    std::string text;
    TreeItemHandle treeItem = nullptr;
    std::int32_t collated = 0;

    JournalEntry() = default;
    JournalEntry(const JournalEntry&) = default;
    JournalEntry& operator=(const JournalEntry&) = default;
    JournalEntry(JournalEntry&&) = default;
    JournalEntry& operator=(JournalEntry&&) = default;
    virtual ~JournalEntry() = default;
};

// Whether `position` names an entry of `journal`. Takes the widest value a control's
// item data can hold, so that nothing is cut off before it is checked.
inline bool IsJournalPosition(const std::vector<JournalEntry>& journal, std::int64_t position) {
    return position >= 0 && static_cast<std::uint64_t>(position) < journal.size();
}
