// The views change where a step touched the journal or the database: the rows of the
// touched entries and the tree items of the touched quests go and come, and the rest
// stay as they are, open or closed as the player left them. The result is what a
// rebuild would show; but a rebuild sends the controls a message per entry, which Wine
// makes seconds at a long journal, and loses the player's place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "journal/journal_entry.h"
#include "questdb/quest_database.h"

// The list and the tree as the changes reach them: the dialog's controls, or plain
// containers where no window is.
class ShownViews {
public:
    virtual ~ShownViews() = default;
    virtual int RowCount() const = 0;
    virtual std::int32_t RowPosition(int row) const = 0;  // the row's journal position
    virtual void InsertRow(int row, std::int32_t position) = 0;
    virtual void DeleteRow(int row) = 0;
    virtual TreeItemHandle ParentOf(TreeItemHandle item) const = 0;  // null for a top item
    virtual void DeleteItem(TreeItemHandle item) = 0;                // with its children
    // Under `parent` (null: the top level), right after `after` (null: first); an `open`
    // item shows the children put in after it.
    virtual TreeItemHandle InsertItem(TreeItemHandle parent, TreeItemHandle after,
                                      std::int32_t position, bool finisher, bool open) = 0;
};

// The rows of `entries` (journal positions) come or go as the filters list them now.
void ShowListChanges(ShownViews& views, const std::vector<JournalEntry>& journal, bool showUnknown,
                     bool showCollated, std::vector<std::int32_t> entries);

// The tree items of `entries` and of the quests at `quests` go, and those quests come
// back as the filters show them now, in their places, open unless finished (or
// childless). Every
// entry's treeItem stays right. The untouched quests must have kept their entries.
void ShowTreeChanges(ShownViews& views, const QuestDatabase& database,
                     std::vector<JournalEntry>& journal, bool showUnfinished, bool showFinished,
                     const std::vector<std::int32_t>& entries,
                     const std::vector<std::size_t>& quests);
