// What the quest tree and the journal list show, kept small (journal positions and
// flags, no texts), so that the timing run can fill bare controls with the same
// items later without holding thousands of labels in the meantime.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_entry.h"

struct TreeRow {
    std::int32_t position = -1;  // the item's data: a journal position
    bool topLevel = false;       // a child hangs under the last top-level row before it
    bool finisher = false;       // its label carries the finisher prefix
    bool expanded = false;
};

struct ViewSnapshot {
    std::vector<TreeRow> tree;           // in display order
    std::vector<std::int32_t> listRows;  // each row's data, in order
};

ViewSnapshot TakeSnapshot(HWND tree, HWND list);

// Fills bare controls with the snapshot's items and labels through the framework's
// control classes, doing the least a program must: painting off, the old items gone,
// each item added with its label and data, the same items expanded, painting back on.
void FillTree(HWND tree, const ViewSnapshot& view, const std::vector<JournalEntry>& journal);
void FillList(HWND list, const ViewSnapshot& view, const std::vector<JournalEntry>& journal);
