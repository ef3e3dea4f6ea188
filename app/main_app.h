// CMainApp: the application object. It runs the main dialog, and when that ends, so
// does the program.
#pragma once

#include "framework/win_app.h"

class CMainApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
