#include "framework/message_box.h"

#include "framework/program_path.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"
#include "framework/win_app.h"

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

// The main window, or the modal dialog running over it: a box must disable the window
// that is taking input now, or closing the box would re-enable the main window under
// a dialog that is still open.
HWND BoxOwner() {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (!owner || !IsWindow(owner)) return nullptr;
    HWND popup = GetLastActivePopup(owner);
    return popup && IsWindowEnabled(popup) ? popup : owner;
}

}  // namespace

int AfxMessageBox(const std::string& text, UINT type) {
    if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
    MessageBoxRequest request{text, GetProgramName(), type, BoxOwner()};
    const int answer = Hook() ? Hook()(request)
                              : MessageBoxW(request.owner, WideFromUtf8(request.text).c_str(),
                                            WideFromUtf8(request.caption).c_str(), request.type);
    CWaitCursor::Restore();
    return answer;
}

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}
