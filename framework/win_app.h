// CWinApp: the application object. The program defines exactly one, a static object;
// the entry point runs its InitInstance.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's start-up. Returning FALSE ends the program without a message loop
    // of the framework's own.
    virtual BOOL InitInstance() { return FALSE; }
    // The message loop run when InitInstance returns TRUE; returns the exit code.
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;  // not owned
    HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Registers the common control classes the program's dialogs use (tree view, trackbar
// and the standard controls). The entry point calls it; so do tests that make dialogs.
void AfxInitCommonControls();

// The entry point's work: runs the application object. WinMain calls it.
int AfxWinMain(HINSTANCE instance);
