// What the player sees in the views and may have set by hand, kept across a rebuild that
// the player didn't ask for (the journal followed the game): the entries selected in the
// list and in the tree, the first entry each shows, and which quests stand open or
// closed. Entries are kept by their texts, which stay when a rewritten journal renumbers
// them; quests by their places in the database, which a read doesn't change.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CMainDlg;

class KeptViewState {
public:
    // Takes what the views show now; the journal still holds the entries they show.
    explicit KeptViewState(CMainDlg& dlg);

    // Rebuilds both views from the journal as it is now and puts back what was kept.
    void Rebuild();

private:
    CMainDlg& dlg;
    std::optional<std::string> listSelected, listTop, treeSelected, treeTop;
    int listTopRow = 0;
    // For each quest of the database: -1 not shown, 0 closed, 1 open.
    std::vector<signed char> questOpen;
};
