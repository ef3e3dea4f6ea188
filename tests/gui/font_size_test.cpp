// The font-size slider: the six text controls follow it, everything else keeps the
// dialog's font, and no control is ever left with a released font.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tests/gui/gui_fixture.h"

namespace {

const int kPaneControls[] = {IDC_LIST_TEXT,    IDC_LIST_HEADING, IDC_TREE_TEXT,
                             IDC_TREE_HEADING, IDC_QUEST_TREE,   IDC_JOURNAL_LIST};
const int kOtherControls[] = {IDC_SEARCH_BOX, IDC_FIND_NEXT, IDC_HELP_BUTTON, IDC_SHOW_UNKNOWN,
                              IDC_DISPLAYED_COUNT};

class FontSize : public MainDialogTest {
protected:
    void SetUp() override {
        MainDialogTest::SetUp();
        StartDialogWith("", EmptyDatabaseImage());
    }

    HFONT FontOf(int id) const {
        return reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
    }
    // The font's height, or 0 when the handle is no font (any more).
    static LONG HeightOf(HFONT font) {
        LOGFONTA description = {};
        if (GetObjectA(font, sizeof(description), &description) != sizeof(description)) return 0;
        return description.lfHeight;
    }

    // Every pane control holds the dialog's pane font, alive and of this height.
    void ExpectPanesAt(LONG height) {
        HFONT pane = Dialog().paneFont;
        EXPECT_EQ(HeightOf(pane), height);
        for (int id : kPaneControls) EXPECT_EQ(FontOf(id), pane) << "control " << id;
    }
};

TEST_F(FontSize, SliderScalesTheSixTextControlsOnly) {
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(Window(), WM_GETFONT, 0, 0));
    // The template's 8-point font at the usual resolution; the heights below follow it.
    ASSERT_EQ(Dialog().baseFont.lfHeight, -11);
    ASSERT_EQ(HeightOf(dialogFont), -11);

    ExpectPanesAt(-10);  // factor 1.0 from start-up
    for (int position : {50, 100, 25, 0}) {
        SCOPED_TRACE("slider at " + std::to_string(position));
        HFONT before = Dialog().paneFont;
        MoveSlider(position);
        ExpectPanesAt(position == 50 ? -21 : position == 100 ? -32 : position == 25 ? -16 : -10);
        EXPECT_EQ(HeightOf(before), 0) << "the replaced font must be released";
        for (int id : kOtherControls) EXPECT_EQ(FontOf(id), dialogFont) << "control " << id;
    }
}

TEST_F(FontSize, ScrollNotificationsFromElsewhereChangeNothing) {
    MoveSlider(100);
    HFONT large = Dialog().paneFont;

    // The thumb moves, but the notification claims another sender, or none (a window's
    // own scroll bar).
    HWND slider = Control(IDC_FONT_SLIDER);
    SendMessageA(slider, TBM_SETPOS, TRUE, 0);
    for (HWND sender : {Control(IDC_SEARCH_BOX), HWND(nullptr)}) {
        SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0),
                     reinterpret_cast<LPARAM>(sender));
        PumpMessages();
        EXPECT_EQ(static_cast<HFONT>(Dialog().paneFont), large);
        EXPECT_EQ(FontOf(IDC_LIST_TEXT), large);
    }

    // Any code from the slider itself rebuilds from where the thumb is, whatever
    // position the notification carries.
    SendMessageA(Window(), WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 77),
                 reinterpret_cast<LPARAM>(slider));
    PumpMessages();
    ExpectPanesAt(-10);
}

}  // namespace
