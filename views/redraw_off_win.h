// Keeps a control from painting while it is refilled. Under Wine a tree view or a
// list box that paints after every insert, or every expansion, takes seconds for a
// few thousand items; with painting off the same work takes milliseconds.
#pragma once

#include "framework/wnd.h"

class RedrawOff {
public:
    explicit RedrawOff(CWnd& control) : control(control) { control.SetRedraw(FALSE); }
    // Runs on the way out of an abandoned rebuild too, so the control never stays blank.
    ~RedrawOff() {
        control.SetRedraw(TRUE);
        control.Invalidate();
    }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    CWnd& control;
};
