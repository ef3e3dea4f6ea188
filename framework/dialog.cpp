#include "framework/dialog.h"

#include <stdexcept>
#include <string>

#include "framework/error_report.h"
#include "framework/win_app.h"

namespace {

// Runs `work`; an exception that escapes it abandons the work in progress and is
// reported to the user here. Returns whether the work ran to its end.
template <class Work>
bool Guarded(Work&& work) {
    try {
        work();
        return true;
    } catch (...) {
        ReportCurrentException();
    }
    return false;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId(templateId), parent(parent) {}

CDialog::~CDialog() {
    DestroyWindow();
}

HWND CDialog::Owner() const {
    if (parent) return parent->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main && main != this ? main->m_hWnd : nullptr;
}

bool CDialog::Create() {
    ended = false;
    result = -1;
    HWND created = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                      Owner(), DialogProc, reinterpret_cast<LPARAM>(this));
    return created != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND owner = Owner();
    // EnableWindow returns whether the window was disabled before.
    bool reenableOwner = owner && !EnableWindow(owner, FALSE);
    if (Create()) {
        if (!ended) ShowWindow(SW_SHOWNORMAL);
        RunModalLoop();
    }
    // The owner must be enabled before our window goes, or the platform activates
    // some other program's window instead of it.
    if (reenableOwner) EnableWindow(owner, TRUE);
    if (owner && m_hWnd && GetActiveWindow() == m_hWnd) SetActiveWindow(owner);
    DestroyWindow();
    return result;
}

void CDialog::RunModalLoop() {
    while (!ended && m_hWnd) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) Guarded([&] { OnIdle(); });
        if (ended || !m_hWnd) break;
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for the loop outside ours.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        PumpMessage(message);
    }
}

void CDialog::PumpMessage(MSG& message) {
    BOOL handled = FALSE;
    Guarded([&] { handled = PreTranslateMessage(&message); });
    if (handled) return;
    if (m_hWnd && IsDialogMessageA(m_hWnd, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void CDialog::PumpQueuedMessages(CDialog* dialog) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && dialog->m_hWnd && !dialog->IsEnded()) {
            dialog->PumpMessage(message);
        } else {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

BOOL CDialog::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CDialog::EndDialog(int dialogResult) {
    result = dialogResult;
    ended = true;
    // A handler of a sent message (the end of the session) may end the dialog while
    // the loop waits for a posted one: wake it.
    if (m_hWnd) PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

void CDialog::BlockShutdown(const std::string& reason) {
    std::wstring wide(reason.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);
    // Wine doesn't keep the reason; Windows shows it beside the program's name.
    ShutdownBlockReasonCreate(m_hWnd, wide.c_str());
    shutdownBlockReason = reason;
}

void CDialog::AllowShutdown() {
    if (shutdownBlockReason.empty()) return;
    ShutdownBlockReasonDestroy(m_hWnd);
    shutdownBlockReason.clear();
}

void CDialog::DestroyWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CDialog::OnInitDialog() {
    BindControls();
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::Bind(CWnd& control, int id) {
    HWND item = GetDlgItem(id);
    if (!item)
        throw std::logic_error("dialog " + std::to_string(templateId) + " has no control " +
                               std::to_string(id));
    control.Attach(item);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
    } else {
        dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        BOOL focusDefault = TRUE;
        if (!Guarded([&] { focusDefault = OnInitDialog(); })) {
            EndDialog(-1);
            return FALSE;
        }
        if (!ended) CenterWindow(Owner());
        return focusDefault;
    }

    INT_PTR handled = FALSE;
    if (DispatchToMap(message, wParam, lParam, handled)) return handled;

    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) return Guarded([&] { OnOK(); }), TRUE;
        if (LOWORD(wParam) == IDCANCEL) return Guarded([&] { OnCancel(); }), TRUE;
    }
    return FALSE;
}

bool CDialog::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& handled) {
    MessageMap map = GetMessageMap();
    const NMHDR* notify = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
    for (std::size_t i = 0; i < map.count; ++i) {
        const MessageMapEntry& entry = map.entries[i];
        if (entry.message != message) continue;
        if (message == WM_COMMAND && (entry.code != HIWORD(wParam) || entry.id != LOWORD(wParam)))
            continue;
        if (notify && (entry.code != notify->code || entry.id != notify->idFrom)) continue;

        // Saved and restored: a handler may run a nested loop that dispatches others.
        bool outerDefaultRequested = defaultRequested;
        defaultRequested = false;
        LRESULT messageResult = 0;  // what a WM_NOTIFY or WM_QUERYENDSESSION handler answers
        INT_PTR directResult = 0;
        bool completed = Guarded([&] {
            if (auto h = std::get_if<PlainHandler>(&entry.handler)) {
                (this->**h)();
            } else if (auto h = std::get_if<NotifyHandler>(&entry.handler)) {
                (this->**h)(reinterpret_cast<NMHDR*>(lParam), &messageResult);
            } else if (auto h = std::get_if<ScrollHandler>(&entry.handler)) {
                (this->**h)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            } else if (auto h = std::get_if<SysCommandHandler>(&entry.handler)) {
                (this->**h)(static_cast<UINT>(wParam), lParam);
            } else if (auto h = std::get_if<QueryIconHandler>(&entry.handler)) {
                directResult = reinterpret_cast<INT_PTR>((this->**h)());
            } else if (auto h = std::get_if<QueryEndSessionHandler>(&entry.handler)) {
                messageResult = (this->**h)(static_cast<UINT>(lParam));
            } else if (auto h = std::get_if<EndSessionHandler>(&entry.handler)) {
                (this->**h)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
            } else if (auto h = std::get_if<DpiChangedHandler>(&entry.handler)) {
                (this->**h)(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            } else if (auto h = std::get_if<TimerHandler>(&entry.handler)) {
                (this->**h)(static_cast<UINT_PTR>(wParam));
            } else if (auto h = std::get_if<ActivateHandler>(&entry.handler)) {
                (this->**h)(LOWORD(wParam) != WA_INACTIVE);
            } else if (auto h = std::get_if<DropFilesHandler>(&entry.handler)) {
                (this->**h)(reinterpret_cast<HANDLE>(wParam));
            }
        });
        bool wantsDefault = defaultRequested;
        defaultRequested = outerDefaultRequested;
        // An abandoned handler gets no default handling either: a close request whose
        // save failed must not go on to close the window.
        if (completed && wantsDefault) return false;
        if (std::holds_alternative<QueryIconHandler>(entry.handler)) {
            handled = directResult;
        } else {
            // A dialog procedure answers through DWLP_MSGRESULT; an abandoned handler's
            // answer stays 0, which refuses the end of the session.
            const bool answers = notify || message == WM_QUERYENDSESSION;
            if (answers && m_hWnd) SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, messageResult);
            handled = TRUE;
        }
        return true;
    }
    return false;
}

void CDialog::CenterWindow(HWND owner) {
    RECT window, area;
    GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (owner && IsWindowVisible(owner) && !::IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        area = monitor.rcWork;
    LONG width = window.right - window.left, height = window.bottom - window.top;
    LONG left = area.left + (area.right - area.left - width) / 2;
    LONG top = area.top + (area.bottom - area.top - height) / 2;
    // Keep the caption on the screen.
    if (left + width > monitor.rcWork.right) left = monitor.rcWork.right - width;
    if (top + height > monitor.rcWork.bottom) top = monitor.rcWork.bottom - height;
    if (left < monitor.rcWork.left) left = monitor.rcWork.left;
    if (top < monitor.rcWork.top) top = monitor.rcWork.top;
    SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
