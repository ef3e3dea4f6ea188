// Filling the two views with a long game's journal. A list box or a tree view that
// paints after every insert or expansion takes over a minute for 20,000 rows under
// Wine, and a refill that grows faster than the rows is as bad; so the controls are
// watched and each refill's work counted: every row and item is put in once, with
// painting off. (The times are figures of tools/timing-run.)
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "journal/journal_matching.h"
#include "tests/gui/gui_fixture.h"
#include "tests/support/journal_generator.h"

namespace {

// Stands in front of a control's window procedure while it lives, counting what the
// control is asked to do.
class WorkCounter {
public:
    int inserts = 0;        // rows or items put in
    int expansions = 0;     // tree items opened or closed
    int whilePainting = 0;  // inserts, expansions and emptyings with painting on
    bool painting = true;

    explicit WorkCounter(HWND control) : control(control) {
        SetPropA(control, kProp, this);
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Watch)));
    }
    ~WorkCounter() {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, kProp);
    }

private:
    static constexpr char kProp[] = "lorebinder.WorkCounter";

    static LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<WorkCounter*>(GetPropA(window, kProp));
        const bool insert = message == LB_ADDSTRING || message == LB_INSERTSTRING ||
                            message == TVM_INSERTITEMA || message == TVM_INSERTITEMW;
        const bool expand = message == TVM_EXPAND;
        const bool empty = message == LB_RESETCONTENT || message == TVM_DELETEITEM;
        if (message == WM_SETREDRAW) self->painting = wParam != FALSE;
        self->inserts += insert;
        self->expansions += expand;
        self->whilePainting += (insert || expand || empty) && self->painting;
        return CallWindowProcW(self->original, window, message, wParam, lParam);
    }

    HWND control;
    WNDPROC original = nullptr;
};

class ViewsFill : public MainDialogTest {
protected:
    // Starts on a generated journal with every filter on.
    void StartWithEverythingShown(size_t entries) {
        JournalGeneratorOptions options;
        options.entries = entries;
        options.emptyLineShare = 0;
        GeneratedJournal generated = GenerateJournal(options);
        WriteFile("journal.htm", generated.journal);
        WriteFile("quests.lbd", ImageBytes(generated.databaseImage));
        StartDialog();
        ASSERT_EQ(Dialog().journal.size(), generated.expected.size());
        Click(IDC_SHOW_COLLATED);
        Click(IDC_SHOW_FINISHED);
    }

    // Then refills each view once more while watching its control.
    void RefillAndCount(size_t entries) {
        SCOPED_TRACE(std::to_string(entries) + " entries");
        StartWithEverythingShown(entries);
        WorkCounter list(Control(IDC_JOURNAL_LIST)), tree(Control(IDC_QUEST_TREE));
        Dialog().ShowPrefsChanged();
        Dialog().ShowQuests();
        int quests = 0;
        for (HTREEITEM item = TreeView_GetRoot(Control(IDC_QUEST_TREE)); item;
             item = TreeView_GetNextSibling(Control(IDC_QUEST_TREE), item))
            ++quests;
        EXPECT_EQ(ListCount(), static_cast<int>(Dialog().journal.size()));
        EXPECT_GT(TreeCount(), static_cast<int>(Dialog().journal.size() / 2));
        EXPECT_EQ(list.inserts, ListCount()) << "each row once";
        EXPECT_EQ(tree.inserts, TreeCount()) << "each item once";
        EXPECT_EQ(tree.expansions, quests) << "each quest opened or closed once";
        EXPECT_EQ(list.whilePainting + tree.whilePainting, 0);
        EXPECT_TRUE(list.painting && tree.painting) << "painting is on again afterwards";
    }
};

TEST_F(ViewsFill, TwentyThousandEntriesFillEachRowOnceWithPaintingOff) {
    RefillAndCount(5000);
    RefillAndCount(20000);
}

// Each change puts in and takes out only its own rows and items, painting off, and
// leaves the views as a rebuild would show them; entries the game appended leave the
// player's selections and the list's scroll where they were.
TEST_F(ViewsFill, ChangesTouchOnlyTheirOwnRowsAndItems) {
    StartWithEverythingShown(5000);
    std::vector<JournalEntry>& journal = Dialog().journal;
    int middle = static_cast<int>(journal.size() / 2);  // row r lists entry r
    while (journal[middle].collated) ++middle;
    auto changes = [&](const char* what, auto&& change) {
        SCOPED_TRACE(what);
        std::vector<std::string> tree, rows;
        {
            WorkCounter listWork(Control(IDC_JOURNAL_LIST)), treeWork(Control(IDC_QUEST_TREE));
            change();
            EXPECT_LE(listWork.inserts + treeWork.inserts, 8);
            EXPECT_EQ(listWork.whilePainting + treeWork.whilePainting, 0);
            tree = TreeLines();
            rows = ListRows();
        }
        Dialog().ShowPrefsChanged();
        Dialog().ShowQuests();
        EXPECT_EQ(TreeLines(), tree);
        EXPECT_EQ(ListRows(), rows);
    };
    SelectListRow(middle);
    changes("Start New Quest", [&] { Click(IDC_START_NEW_QUEST); });
    SelectTreeItem(static_cast<HTREEITEM>(journal[middle].treeItem));
    changes("Toggle Finisher", [&] { Click(IDC_TOGGLE_FINISHER); });
    changes("Undo", [&] { MenuCommand(ID_EDIT_UNDO); });
    changes("Redo", [&] { MenuCommand(ID_EDIT_REDO); });

    Dialog().database.AddItem(Dialog().database.quests.back(), "The bell fell silent.", -1, false);
    SelectListRow(middle);  // and its item in the tree, of the quest that the entries touch
    const LRESULT top = SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETTOPINDEX, 0, 0);
    changes("journal grew", [&] {
        EditChange grew;
        grew.way = EditChange::Way::JournalGrew;
        grew.entries = {static_cast<std::int32_t>(journal.size()),
                        static_cast<std::int32_t>(journal.size() + 1)};
        grew.quests = {Dialog().database.quests.size() - 1};
        journal.emplace_back().text = "A new page.";
        journal.emplace_back().text = "The bell fell silent.";
        MatchJournal(journal, Dialog().database);
        Dialog().ShowChange(grew);
        EXPECT_EQ(ListSelection(), middle);
        EXPECT_EQ(SendMessageA(Control(IDC_JOURNAL_LIST), LB_GETTOPINDEX, 0, 0), top);
        ASSERT_TRUE(TreeSelection());
        EXPECT_EQ(TreeSelection(), journal[middle].treeItem);
    });
    EXPECT_EQ(ListRows().back(), "The bell fell silent.");
}

}  // namespace
