#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Saves what the screen shows in `area` (screen coordinates) as a 24-bit BMP
// file. Returns false when nothing could be captured or written.
bool SaveScreenshot(const RECT& area, const std::string& path);

// The whole screen, or one window as it appears on it.
bool SaveScreenScreenshot(const std::string& path);
bool SaveWindowScreenshot(HWND window, const std::string& path);

}  // namespace e2e
