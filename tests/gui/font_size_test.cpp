// The font-size slider: the six text controls follow it, everything else keeps the
// dialog's font, and no control is ever left with a released font. The same holds at
// any display scale (these run at 96 dpi and, as wine.At144Dpi, at 144) and when the
// window moves to a screen of another scale.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tests/gui/gui_fixture.h"
#include "views/font_scale.h"

namespace {

// The template's 8-point font at `dpi`, as the dialog manager makes it.
LONG DialogFontHeight(int dpi) {
    return -MulDiv(8, dpi, 72);
}

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
    // The template's font at the display's scale (-11 at 96 dpi: the six then get -10,
    // -16, -21 and -32 at factors 1, 1.5, 2 and 3).
    HDC screen = GetDC(nullptr);
    const LONG base = DialogFontHeight(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(Dialog().baseFont.lfHeight, base);
    ASSERT_EQ(HeightOf(dialogFont), base);

    ExpectPanesAt(ScaleFontDimension(base, 1.0f));  // from start-up
    for (int position : {50, 100, 25, 0}) {
        SCOPED_TRACE("slider at " + std::to_string(position));
        HFONT before = Dialog().paneFont;
        MoveSlider(position);
        ExpectPanesAt(ScaleFontDimension(base, 1.0f + position / 50.0f));
        EXPECT_EQ(HeightOf(before), 0) << "the replaced font must be released";
        for (int id : kOtherControls) EXPECT_EQ(FontOf(id), dialogFont) << "control " << id;
    }
}

TEST_F(FontSize, ScrollNotificationsFromElsewhereChangeNothing) {
    const LONG startHeight = HeightOf(Dialog().paneFont);
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
    ExpectPanesAt(startHeight);
}

// On a screen of another scale the six get the dialog font made for that scale, at the
// slider's factor; the dialog manager gives the other controls theirs. The icons are
// taken anew in the sizes that fit.
TEST_F(FontSize, FollowsTheWindowToAScreenOfAnotherScale) {
    const UINT start = Dialog().dpi;
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(Window(), WM_GETFONT, 0, 0));
    MoveSlider(50);
    for (UINT dpi : {192u, 120u, start}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        HFONT before = Dialog().paneFont;
        RECT place;
        GetWindowRect(Window(), &place);
        SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&place));
        PumpMessages();
        ExpectPanesAt(ScaleFontDimension(DialogFontHeight(static_cast<int>(dpi)), 2.0f));
        EXPECT_EQ(HeightOf(before), 0) << "the replaced font must be released";
        EXPECT_EQ(FontOf(IDC_SEARCH_BOX), dialogFont);

        ICONINFO icon = {};
        ASSERT_TRUE(GetIconInfo(
            reinterpret_cast<HICON>(SendMessageA(Window(), WM_GETICON, ICON_SMALL, 0)), &icon));
        BITMAP image = {};
        GetObjectA(icon.hbmColor, sizeof(image), &image);
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
        EXPECT_EQ(image.bmWidth, MulDiv(16, static_cast<int>(dpi), 96));
    }
    // The slider goes on from the font of the scale the window is at.
    MoveSlider(0);
    ExpectPanesAt(ScaleFontDimension(DialogFontHeight(static_cast<int>(start)), 1.0f));
}

}  // namespace
