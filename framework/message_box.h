// The program's one message-box function, and the seam through which tests see and
// answer every box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Shows `text` (UTF-8, as every message: a path in it may hold any character; texts of
// the files go in through Utf8FromSystemCodePage) modally over the main window,
// captioned with the program's name.
// `type` is MB_OK for a statement or MB_YESNO for a question; without an icon flag the
// box carries the exclamation mark. Returns the button pressed (IDOK, IDYES, IDNO, or
// IDCANCEL when the box was dismissed with Esc).
int AfxMessageBox(const std::string& text, UINT type = MB_OK);

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT type = 0;  // buttons and icon flags, as given to MessageBoxW
    HWND owner = nullptr;
};

// While a hook is set, every box goes to it instead of the screen; its result is the
// answer. An empty hook restores the real boxes.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxHook(MessageBoxHook hook);
