// The font of the six controls that show journal text, scaled by the slider, and made
// anew when the window moves to a screen of another scale.
#include "app/main_dlg.h"
#include "framework/dpi.h"
#include "views/font_scale.h"

namespace {

// The position comes from the slider itself, not from a notification: every code (a
// drag in progress, its end, a key) then gives the factor of where the thumb is.
float SliderFactor(const CSliderCtrl& slider) {
    return SliderFontFactor(slider.GetPos(), slider.GetRangeMin(), slider.GetRangeMax());
}

}  // namespace

// Every scaling starts again from the base font, so moving the slider back and forth
// never accumulates rounding.
void CMainDlg::ScaleFont(float factor) {
    LOGFONTA scaled = baseFont;
    scaled.lfHeight =
        ScaleFontDimension(FontDimensionAtDpi(baseFont.lfHeight, baseDpi, dpi), factor);
    scaled.lfWidth = ScaleFontDimension(FontDimensionAtDpi(baseFont.lfWidth, baseDpi, dpi), factor);

    // The new font reaches every control before the old one is released, so that no
    // control ever holds a deleted font, not even while an earlier one redraws. When
    // no font can be made, the controls are given none and fall back to the system font.
    CFont next;
    next.CreateFontIndirect(&scaled);
    CWnd* const controls[] = {&listTextPane,    &listHeadingPane, &treeTextPane,
                              &treeHeadingPane, &questTree,       &journalList};
    for (CWnd* control : controls) {
        // On a change of scale the dialog manager would put the dialog's own font back.
        KeepFontOnDpiChange(*control);
        control->SetFont(next, TRUE);
    }
    paneFont.Attach(next.Detach());
}

void CMainDlg::OnFontSliderScroll(UINT, UINT, HWND control) {
    if (control && control == fontSlider.m_hWnd) ScaleFont(SliderFactor(fontSlider));
    Default();
}

// The dialog manager then moves the window, lays the controls out at the new scale and
// gives the others the dialog's font made for it.
void CMainDlg::OnDpiChanged(UINT newDpi, const RECT*) {
    if (newDpi > 0) {
        dpi = newDpi;
        ShowIcon();
        ScaleFont(SliderFactor(fontSlider));
    }
    Default();
}
