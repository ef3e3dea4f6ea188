// Filling the two views with a long game's journal. A list box or a tree view that
// paints after every insert or expansion takes over a minute for 20,000 rows under
// Wine, and a refill that grows faster than the rows is as bad; so the controls are
// watched and each refill's work counted: every row and item is put in once, with
// painting off. (The times are figures of tools/timing-run.)
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tests/gui/gui_fixture.h"
#include "tests/support/journal_generator.h"

namespace {

// What a control was asked to do while it was watched.
struct ControlWork {
    int inserts = 0;        // rows or items put in
    int expansions = 0;     // tree items opened or closed
    int whilePainting = 0;  // inserts, expansions and emptyings with painting on
    bool painting = true;
};

// Watches a control by putting itself in front of the control's window procedure.
class WorkCounter {
public:
    explicit WorkCounter(HWND control) : control(control) {
        SetPropA(control, kProp, this);
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Watch)));
    }
    ~WorkCounter() {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, kProp);
    }
    WorkCounter(const WorkCounter&) = delete;
    WorkCounter& operator=(const WorkCounter&) = delete;

    ControlWork work;

private:
    static constexpr char kProp[] = "lorebinder.WorkCounter";

    static LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<WorkCounter*>(GetPropA(window, kProp));
        ControlWork& work = self->work;
        switch (message) {
            case WM_SETREDRAW:
                work.painting = wParam != FALSE;
                break;
            case LB_ADDSTRING:
            case LB_INSERTSTRING:
            case TVM_INSERTITEMA:
            case TVM_INSERTITEMW:
                ++work.inserts;
                work.whilePainting += work.painting;
                break;
            case TVM_EXPAND:
                ++work.expansions;
                work.whilePainting += work.painting;
                break;
            case LB_RESETCONTENT:
            case TVM_DELETEITEM:
                work.whilePainting += work.painting;
                break;
        }
        return CallWindowProcW(self->original, window, message, wParam, lParam);
    }

    HWND control;
    WNDPROC original = nullptr;
};

class ViewsFill : public MainDialogTest {
protected:
    int QuestsInTree() {
        const HWND tree = Control(IDC_QUEST_TREE);
        int quests = 0;
        for (HTREEITEM item = TreeView_GetRoot(tree); item;
             item = TreeView_GetNextSibling(tree, item))
            ++quests;
        return quests;
    }

    // Starts on a generated journal with every filter on, then refills each view once
    // more while watching its control.
    void RefillAndCount(size_t entries) {
        SCOPED_TRACE(std::to_string(entries) + " entries");
        JournalGeneratorOptions options;
        options.entries = entries;
        options.emptyLineShare = 0;
        GeneratedJournal generated = GenerateJournal(options);
        WriteFile("journal.htm", generated.journal);
        const auto& image = generated.databaseImage.Bytes();
        WriteFile("quests.lbd", std::string(image.begin(), image.end()));
        StartDialog();
        ASSERT_EQ(Dialog().journal.size(), generated.expected.size());
        Click(IDC_SHOW_COLLATED);
        Click(IDC_SHOW_FINISHED);

        ControlWork list, tree;
        {
            WorkCounter counter(Control(IDC_JOURNAL_LIST));
            Dialog().ShowPrefsChanged();
            list = counter.work;
        }
        {
            WorkCounter counter(Control(IDC_QUEST_TREE));
            Dialog().ShowQuests();
            tree = counter.work;
        }
        EXPECT_EQ(ListCount(), static_cast<int>(Dialog().journal.size()));
        EXPECT_GT(TreeCount(), static_cast<int>(Dialog().journal.size() / 2));
        EXPECT_EQ(list.inserts, ListCount()) << "each row once";
        EXPECT_EQ(tree.inserts, TreeCount()) << "each item once";
        EXPECT_EQ(tree.expansions, QuestsInTree()) << "each quest opened or closed once";
        EXPECT_EQ(list.whilePainting, 0);
        EXPECT_EQ(tree.whilePainting, 0);
        EXPECT_TRUE(list.painting && tree.painting) << "painting is on again afterwards";

        ExpectBox(kSaveQuestion, IDNO);
        RequestClose();
        EXPECT_TRUE(Ended());
    }
};

TEST_F(ViewsFill, TwentyThousandEntriesFillEachRowOnceWithPaintingOff) {
    RefillAndCount(5000);
    RefillAndCount(20000);
}

}  // namespace
