#pragma once

#include <cstdint>
#include <string>

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
