#include "framework/win_app.h"

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "framework/error_report.h"

namespace {

CWinApp* theApp = nullptr;

}  // namespace

CWinApp::CWinApp() {
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

int CWinApp::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

CWinApp* AfxGetApp() {
    return theApp;
}

CWnd* AfxGetMainWnd() {
    return theApp ? theApp->m_pMainWnd : nullptr;
}

void AfxInitCommonControls() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

int AfxWinMain(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    AfxInitCommonControls();
    // Handlers report their own exceptions; this catches what escapes start-up itself.
    try {
        return app->InitInstance() ? app->Run() : 0;
    } catch (...) {
        ReportCurrentException();
    }
    return 1;
}
