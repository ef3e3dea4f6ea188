// The display scale of a window, and what follows from it. The functions that report
// it per window came with Windows 10; the program must still start on Windows 7, so
// they are looked up at run time, never imported, and without them everything falls
// back to the system's one scale.
#pragma once

#include <windows.h>

// The dots per inch the window is drawn at.
UINT WindowDpi(HWND window);

// GetSystemMetrics as it would be at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);

// Keeps the dialog manager from giving the control the dialog's own font when the
// window moves to a screen of another scale: the caller sets that control's font.
void KeepFontOnDpiChange(HWND control);

// The icon resource's image that fits `metric` (SM_CXICON or SM_CXSMICON) at `dpi`:
// one of exactly that size, or a larger one scaled down. The caller owns it
// (DestroyIcon).
HICON LoadIconForDpi(HINSTANCE instance, UINT id, int metric, UINT dpi);
