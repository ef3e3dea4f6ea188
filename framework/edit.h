// CEdit: the edit-box operations the program performs; texts go through CWnd.
#pragma once

#include "framework/wnd.h"

class CEdit : public CWnd {
public:
    // Start and end of the selection; equal when nothing is selected.
    void GetSel(int& start, int& end) const {
        DWORD first = 0, last = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
        start = static_cast<int>(first);
        end = static_cast<int>(last);
    }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    // The position where the line begins.
    int LineIndex(int line) const { return static_cast<int>(SendMessage(EM_LINEINDEX, line)); }
    // The length, in positions, of the line holding the position.
    int LineLength(int position) const {
        return static_cast<int>(SendMessage(EM_LINELENGTH, position));
    }
};
