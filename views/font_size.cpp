// The font of the six controls that show journal text, scaled by the slider.
#include "app/main_dlg.h"

void CMainDlg::ScaleFont(float) {}

void CMainDlg::OnFontSliderScroll(UINT, UINT, HWND) {}
