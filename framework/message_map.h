// The message map: a dialog's static table that says which member handles which
// event. Each entry is {message, notification code, control id, handler}; the dialog
// procedure looks messages up in it, and whatever no entry takes gets the default
// dialog handling. Each kind of entry takes exactly the handler its message calls for,
// so a handler of the wrong shape doesn't compile.
//
//     const MessageMapEntry CMyDlg::messageMap[] = {
//         MapPaint(&CMyDlg::OnPaint),
//         MapCommand(BN_CLICKED, IDC_GO, &CMyDlg::OnButtonGo),
//         MapNotify(TVN_SELCHANGED, IDC_TREE, &CMyDlg::OnSelChangedTree),
//     };
#pragma once

#include <windows.h>

#include <cstddef>
#include <type_traits>
#include <variant>

class CDialog;

// The handler signatures, by what the message carries.
using PlainHandler = void (CDialog::*)();                        // nothing read
using NotifyHandler = void (CDialog::*)(NMHDR*, LRESULT*);       // WM_NOTIFY
using ScrollHandler = void (CDialog::*)(UINT, UINT, HWND);       // WM_HSCROLL: code, pos, control
using SysCommandHandler = void (CDialog::*)(UINT, LPARAM);       // WM_SYSCOMMAND: id, lParam
using QueryIconHandler = HCURSOR (CDialog::*)();                 // WM_QUERYDRAGICON
using QueryEndSessionHandler = BOOL (CDialog::*)(UINT);          // WM_QUERYENDSESSION: flags
using EndSessionHandler = void (CDialog::*)(BOOL, UINT);         // WM_ENDSESSION: ending, flags
using DpiChangedHandler = void (CDialog::*)(UINT, const RECT*);  // WM_DPICHANGED: dpi, place
using TimerHandler = void (CDialog::*)(UINT_PTR);                // WM_TIMER: timer id
using ActivateHandler = void (CDialog::*)(bool);                 // WM_ACTIVATE: active
using DropFilesHandler = void (CDialog::*)(HANDLE);              // WM_DROPFILES: the drop
using MessageHandler =
    std::variant<PlainHandler, NotifyHandler, ScrollHandler, SysCommandHandler, QueryIconHandler,
                 QueryEndSessionHandler, EndSessionHandler, DpiChangedHandler, TimerHandler,
                 ActivateHandler, DropFilesHandler>;

struct MessageMapEntry {
    UINT message;
    UINT code;  // notification code for WM_COMMAND and WM_NOTIFY, else 0
    UINT id;    // control or command id for WM_COMMAND and WM_NOTIFY, else 0
    MessageHandler handler;
};

// A view of a dialog class's table.
struct MessageMap {
    const MessageMapEntry* entries = nullptr;
    std::size_t count = 0;

    MessageMap() = default;
    template <std::size_t N>
    MessageMap(const MessageMapEntry (&table)[N]) : entries(table), count(N) {}
};

// Handlers are members of the derived dialog; the table stores them as members of
// CDialog, which is where the dialog procedure calls them from.
template <class T, class R, class... Args>
auto AsDialogMember(R (T::*handler)(Args...)) -> R (CDialog::*)(Args...) {
    static_assert(std::is_base_of_v<CDialog, T>, "handlers must be members of a dialog");
    return static_cast<R (CDialog::*)(Args...)>(handler);
}

template <class T>
MessageMapEntry MapPaint(void (T::*handler)()) {
    return MessageMapEntry{WM_PAINT, 0, 0, AsDialogMember(handler)};
}

// A close request: the caption's close box, Close on the system menu, Alt+F4.
template <class T>
MessageMapEntry MapClose(void (T::*handler)()) {
    return MessageMapEntry{WM_CLOSE, 0, 0, AsDialogMember(handler)};
}

template <class T>
MessageMapEntry MapHScroll(void (T::*handler)(UINT code, UINT position, HWND control)) {
    return MessageMapEntry{WM_HSCROLL, 0, 0, AsDialogMember(handler)};
}

template <class T>
MessageMapEntry MapSysCommand(void (T::*handler)(UINT command, LPARAM lParam)) {
    return MessageMapEntry{WM_SYSCOMMAND, 0, 0, AsDialogMember(handler)};
}

// The icon to drag while the window is minimised; the handler's result is the answer.
template <class T>
MessageMapEntry MapQueryDragIcon(HCURSOR (T::*handler)()) {
    return MessageMapEntry{WM_QUERYDRAGICON, 0, 0, AsDialogMember(handler)};
}

// The session is about to end (log off, shut down, an installer closing the program;
// `flags` is the message's lParam: ENDSESSION_LOGOFF, ENDSESSION_CLOSEAPP...). The
// handler's result is the answer: TRUE lets the session end. A handler abandoned by
// an exception answers FALSE.
template <class T>
MessageMapEntry MapQueryEndSession(BOOL (T::*handler)(UINT flags)) {
    return MessageMapEntry{WM_QUERYENDSESSION, 0, 0, AsDialogMember(handler)};
}

// Whether the session ends after all; when `ending`, the process may go any time after
// the handler returns.
template <class T>
MessageMapEntry MapEndSession(void (T::*handler)(BOOL ending, UINT flags)) {
    return MessageMapEntry{WM_ENDSESSION, 0, 0, AsDialogMember(handler)};
}

// The window has moved to a screen of another scale, or the scale has changed: the
// new dots per inch, and the place the system suggests for the window.
template <class T>
MessageMapEntry MapDpiChanged(void (T::*handler)(UINT dpi, const RECT* suggested)) {
    return MessageMapEntry{WM_DPICHANGED, 0, 0, AsDialogMember(handler)};
}

// A timer of the window's own (SetTimer with the window) has come due.
template <class T>
MessageMapEntry MapTimer(void (T::*handler)(UINT_PTR id)) {
    return MessageMapEntry{WM_TIMER, 0, 0, AsDialogMember(handler)};
}

// The window has become the active one, or stopped being it. A handler that lets the
// dialog's default handling follow (Default) keeps the focus where it was in the window.
template <class T>
MessageMapEntry MapActivate(void (T::*handler)(bool active)) {
    return MessageMapEntry{WM_ACTIVATE, 0, 0, AsDialogMember(handler)};
}

// Files dropped onto a window that accepts them; the handler owns the drop's handle and
// frees it (framework/dropped_files.h).
template <class T>
MessageMapEntry MapDropFiles(void (T::*handler)(HANDLE drop)) {
    return MessageMapEntry{WM_DROPFILES, 0, 0, AsDialogMember(handler)};
}

// WM_COMMAND with this notification code from this control (BN_CLICKED, 0, is also
// the code of menu commands).
template <class T>
MessageMapEntry MapCommand(UINT code, UINT id, void (T::*handler)()) {
    return MessageMapEntry{WM_COMMAND, code, id, AsDialogMember(handler)};
}

// WM_NOTIFY with this code from this control.
template <class T>
MessageMapEntry MapNotify(UINT code, UINT id, void (T::*handler)(NMHDR*, LRESULT*)) {
    return MessageMapEntry{WM_NOTIFY, code, id, AsDialogMember(handler)};
}
