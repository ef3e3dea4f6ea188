#include "framework/dpi.h"

// commctrl.h needs windows.h first.
#include <commctrl.h>

namespace {

// A function of a system DLL that this process has loaded, or null where the system
// is too old to have it.
template <class Function>
Function LookUp(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    FARPROC found = loaded ? GetProcAddress(loaded, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

UINT SystemDpi() {
    static const UINT dpi = [] {
        HDC screen = GetDC(nullptr);
        int found = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        return found > 0 ? static_cast<UINT>(found) : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        LookUp<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi =
        LookUp<GetSystemMetricsForDpiFunction>("user32.dll", "GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi) return getSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void KeepFontOnDpiChange(HWND control) {
    using SetDialogControlDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehavior = LookUp<SetDialogControlDpiChangeBehaviorFunction>(
        "user32.dll", "SetDialogControlDpiChangeBehavior");
    const int kDisableFontUpdate = 1;  // DCDC_DISABLE_FONTUPDATE
    if (setBehavior) setBehavior(control, kDisableFontUpdate, kDisableFontUpdate);
}

HICON LoadIconForDpi(HINSTANCE instance, UINT id, int metric, UINT dpi) {
    const int size = SystemMetricForDpi(metric, dpi);
    // It scales a larger image down where LoadImage would blow a smaller one up.
    using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto loadIconWithScaleDown =
        LookUp<LoadIconWithScaleDownFunction>("comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (loadIconWithScaleDown &&
        SUCCEEDED(loadIconWithScaleDown(instance, MAKEINTRESOURCEW(id), size, size, &icon)))
        return icon;
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
