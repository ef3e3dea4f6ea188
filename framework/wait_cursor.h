// CWaitCursor: the hourglass for as long as a handler that may take a while works on a
// large journal; the cursor it replaced comes back when it goes. Nested ones keep the
// hourglass until the outermost ends.
#pragma once

#include <windows.h>

class CWaitCursor {
public:
    CWaitCursor() : previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) { ++depth; }
    // A thread that had set no cursor yet would be left with none: the arrow then.
    ~CWaitCursor() {
        --depth;
        ::SetCursor(previous ? previous : ::LoadCursor(nullptr, IDC_ARROW));
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // The hourglass again while a wait lasts: a message box shown in between leaves
    // the arrow behind.
    static void Restore() {
        if (depth > 0) ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    }

private:
    HCURSOR previous;
    // The program has one thread.
    static inline int depth = 0;
};
