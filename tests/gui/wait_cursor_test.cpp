// The hourglass while a handler works on the journal or the database, and the cursor
// of before once it is done. What the cursor is midway is read where the work shows:
// at each row or item put into the list or the tree, and at each message box.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/app_messages.h"
#include "framework/file_faults.h"
#include "framework/wait_cursor.h"
#include "journal/journal_messages.h"
#include "tests/gui/gui_fixture.h"
#include "views/view_messages.h"

namespace {

// The cursors seen by the list and the tree while rows and items went in.
std::vector<HCURSOR> cursorsWhileFilling;
WNDPROC listProcedure = nullptr, treeProcedure = nullptr;

LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING || message == TVM_INSERTITEMA || message == TVM_INSERTITEMW)
        cursorsWhileFilling.push_back(GetCursor());
    const bool list = GetDlgCtrlID(window) == IDC_JOURNAL_LIST;
    return CallWindowProcA(list ? listProcedure : treeProcedure, window, message, wParam, lParam);
}

class WaitCursor : public MainDialogTest {
protected:
    void Spy(int id, WNDPROC& original) {
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(Control(id), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&::Spy)));
    }
    // Whether the list or the tree was filled under the hourglass, and only under it.
    void ExpectFilledWaiting(const char* step) {
        EXPECT_FALSE(cursorsWhileFilling.empty()) << step << " filled nothing";
        for (HCURSOR cursor : cursorsWhileFilling) EXPECT_EQ(cursor, wait) << step;
        cursorsWhileFilling.clear();
        EXPECT_EQ(GetCursor(), arrow) << "after " << step;
    }

    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
};

TEST_F(WaitCursor, LongHandlersShowTheHourglassAndTheArrowAfter) {
    // Start-up without either file: two messages on the way, each asked under the
    // hourglass.
    SetCursor(arrow);
    ExpectBox(NoDatabaseMessage(PathOf("quests.lbd")));
    ExpectBox(JournalOpenFailedMessage(PathOf("journal.htm")));
    StartDialog();
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].cursor, wait);
    EXPECT_EQ(Boxes()[1].cursor, wait);
    EXPECT_EQ(GetCursor(), arrow);

    Spy(IDC_JOURNAL_LIST, listProcedure);
    Spy(IDC_QUEST_TREE, treeProcedure);
    WriteFile("journal.htm",
              JournalText({{"Day 1", "Heard of the ferry."}, {"Day 2", "Crossed the river."}}));
    Click(IDC_RELOAD_JOURNAL);
    ExpectFilledWaiting("Reload Journal");

    SelectListRow(0);
    Click(IDC_START_NEW_QUEST);
    ExpectFilledWaiting("Start New Quest");
    Click(IDC_SHOW_FINISHED);
    ExpectFilledWaiting("the Finished filter");
    Click(IDC_SHOW_COLLATED);
    ExpectFilledWaiting("the Collated filter");

    SetDlgItemTextA(Window(), IDC_SEARCH_BOX, "lantern");
    ExpectBox(NotFoundMessage("lantern"));
    Click(IDC_FIND_NEXT);
    EXPECT_EQ(Boxes().back().cursor, wait) << "search";
    EXPECT_EQ(GetCursor(), arrow) << "after the search";

    // The save, stopped where it writes, so that it speaks while it works.
    InjectFileFault(FileOperation::Open, 1, "quests.lbd.tmp", ERROR_ACCESS_DENIED);
    ExpectBox(kSaveQuestion, IDYES);
    ExpectBox(SaveFailedMessage(PathOf("quests.lbd")));
    RequestClose();
    EXPECT_EQ(Boxes().back().cursor, wait) << "save";
    EXPECT_EQ(GetCursor(), arrow) << "after the save";
    EXPECT_FALSE(Ended());

    SetWindowLongPtrA(Control(IDC_JOURNAL_LIST), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(listProcedure));
    SetWindowLongPtrA(Control(IDC_QUEST_TREE), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(treeProcedure));
}

// A message box leaves the arrow behind (the fixture's, as a real one); work that goes
// on after it, such as matching the journal after a warning about it, goes on under
// the hourglass, and only the outermost wait brings the arrow back.
TEST_F(WaitCursor, ComesBackAfterAMessageAndLastsAsLongAsTheOutermostWait) {
    SetCursor(arrow);
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            ExpectBox("A warning.");
            AfxMessageBox("A warning.");
            EXPECT_EQ(GetCursor(), wait);
        }
        EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
