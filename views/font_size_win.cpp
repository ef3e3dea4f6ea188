// The font of the six controls that show journal text, scaled by the slider.
#include "app/main_dlg.h"
#include "views/font_scale.h"

// Every scaling starts again from the base font, so moving the slider back and forth
// never accumulates rounding.
void CMainDlg::ScaleFont(float factor) {
    LOGFONTA scaled = baseFont;
    scaled.lfHeight = ScaleFontDimension(baseFont.lfHeight, factor);
    scaled.lfWidth = ScaleFontDimension(baseFont.lfWidth, factor);

    // The new font reaches every control before the old one is released, so that no
    // control ever holds a deleted font, not even while an earlier one redraws. When
    // no font can be made, the controls are given none and fall back to the system font.
    CFont next;
    next.CreateFontIndirect(&scaled);
    CWnd* const controls[] = {&listTextPane,    &listHeadingPane, &treeTextPane,
                              &treeHeadingPane, &questTree,       &journalList};
    for (CWnd* control : controls) control->SetFont(next, TRUE);
    paneFont.Attach(next.Detach());
}

// The position comes from the slider itself, not from the notification: every code
// (a drag in progress, its end, a key) then gives the font of where the thumb is.
void CMainDlg::OnFontSliderScroll(UINT, UINT, HWND control) {
    if (control && control == fontSlider.m_hWnd) {
        int minimum = fontSlider.GetRangeMin();
        int maximum = fontSlider.GetRangeMax();
        int position = fontSlider.GetPos();
        ScaleFont(SliderFontFactor(position, minimum, maximum));
    }
    Default();
}
