#include "views/view_changes.h"

#include <algorithm>

#include "views/list_filter.h"
#include "views/quest_groups.h"

void ShowListChanges(ShownViews& views, const std::vector<JournalEntry>& journal, bool showUnknown,
                     bool showCollated, std::vector<std::int32_t> entries) {
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    for (std::int32_t position : entries) {
        if (!IsJournalPosition(journal, position)) continue;
        // The rows stand in journal order: the entry's row, or the place it goes.
        const int row =
            RowFor(position, views.RowCount(), [&views](int r) { return views.RowPosition(r); });
        const bool shown = row < views.RowCount() && views.RowPosition(row) == position;
        if (shown ==
            IsListed(journal[static_cast<std::size_t>(position)], showUnknown, showCollated))
            continue;
        if (shown)
            views.DeleteRow(row);
        else
            views.InsertRow(row, position);
    }
}

void ShowTreeChanges(ShownViews& views, const QuestDatabase& database,
                     std::vector<JournalEntry>& journal, bool showUnfinished, bool showFinished,
                     const std::vector<std::int32_t>& entries,
                     const std::vector<std::size_t>& quests) {
    // What showed a touched quest before: the entries it holds now and those that left it,
    // which are touched entries.
    std::vector<std::int32_t> shown = entries;
    std::vector<bool> touched(database.quests.size());
    for (std::size_t quest : quests) {
        if (quest >= touched.size()) continue;
        touched[quest] = true;
        for (const QuestItem& item : database.quests[quest].items)
            shown.push_back(item.journalIndex);
    }
    std::vector<TreeItemHandle> gone;
    for (std::int32_t position : shown) {
        if (!IsJournalPosition(journal, position)) continue;
        TreeItemHandle& item = journal[static_cast<std::size_t>(position)].treeItem;
        if (!item) continue;
        const TreeItemHandle parent = views.ParentOf(item);
        gone.push_back(parent ? parent : item);
        item = nullptr;
    }
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    for (TreeItemHandle top : gone) views.DeleteItem(top);

    // Each touched quest comes back after the quest shown before it: the quests stand in
    // the order of their earliest entries.
    std::vector<std::pair<std::int32_t, std::size_t>> starts;
    for (std::size_t q = 0; q < database.quests.size(); ++q) {
        std::int32_t first = -1;
        if (IsShownQuest(database.quests[q], journal, showUnfinished, showFinished, &first))
            starts.emplace_back(first, q);
    }
    std::sort(starts.begin(), starts.end());
    TreeItemHandle previous = nullptr;
    for (const auto& [first, q] : starts) {
        if (!touched[q]) {
            previous = journal[static_cast<std::size_t>(first)].treeItem;
            continue;
        }
        const QuestGroup group = GroupOf(database.quests[q], journal);
        TreeItemHandle top = nullptr, last = nullptr;
        const bool open = !group.finished && group.entries.size() > 1;
        for (const QuestGroupEntry& entry : group.entries) {
            // Put in open: Wine's tree view takes longer to open an item of a long tree
            // than for all the rest of the change.
            TreeItemHandle item = views.InsertItem(top, top ? last : previous, entry.position,
                                                   entry.finisher, !top && open);
            if (!item) continue;  // the control is out of memory; show what fits
            journal[static_cast<std::size_t>(entry.position)].treeItem = item;
            if (top)
                last = item;
            else
                top = item;
        }
        if (top) previous = top;
    }
}
