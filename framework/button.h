// CButton: the check-box operations the program performs.
#pragma once

#include "framework/wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    // Reports nothing: no BN_CLICKED follows.
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
};
