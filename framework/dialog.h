// CDialog: a dialog built from a template, run modally by a loop of our own so that
// every message passes the dialog's PreTranslateMessage before IsDialogMessage.
#pragma once

#include <windows.h>

#include <string>

#include "framework/message_map.h"
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    // With no parent, the dialog is owned by the application's main window (unless it
    // is the main window).
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Disables the owner, creates the dialog, shows it, runs the loop until EndDialog,
    // re-enables the owner and destroys the window. Returns EndDialog's result, or -1
    // when the dialog couldn't be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // The pieces of DoModal, for code that drives a dialog itself (the in-process
    // tests do): create the window from the template, OnInitDialog included, without
    // entering the loop...
    bool Create();
    // ...run the loop's step for one message: PreTranslateMessage, IsDialogMessage,
    // then translation and dispatch...
    void PumpMessage(MSG& message);
    // ...run that step for every message already queued, or plain dispatch when there
    // is no dialog, or it has no window or has ended...
    static void PumpQueuedMessages(CDialog* dialog);
    // ...and see whether EndDialog has been called, and with what.
    bool IsEnded() const { return ended; }
    INT_PTR GetResult() const { return result; }
    void DestroyWindow();

    // Return true when the message has been dealt with and must go no further.
    virtual BOOL PreTranslateMessage(MSG* message);

    // Tells the platform why the window holds up the end of the session, for its
    // shutdown screen to show; AllowShutdown withdraws the reason. The reason set is
    // kept here too, since not every platform can say it back.
    void BlockShutdown(const std::string& reason);
    void AllowShutdown();
    const std::string& ShutdownBlockReason() const { return shutdownBlockReason; }

protected:
    // The base binds the controls (BindControls) and returns TRUE: the dialog manager
    // then focuses the first control in tab order.
    virtual BOOL OnInitDialog();
    virtual void OnOK();      // IDOK: ends the dialog with IDOK
    virtual void OnCancel();  // IDCANCEL: ends the dialog with IDCANCEL

    // Attaches the member control objects to their dialog items (Bind).
    virtual void BindControls() {}
    void Bind(CWnd& control, int id);

    virtual MessageMap GetMessageMap() const { return {}; }

    // Runs whenever the dialog's own loop finds no message waiting: never inside a
    // handler, a message box, a menu or another window's modal loop, which run loops of
    // their own. Work put off until the window is free goes here.
    virtual void OnIdle() {}

    // Asks for the default dialog handling of the message being handled, after the
    // handler returns. A handler that doesn't ask has taken the message entirely.
    void Default() { defaultRequested = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& handled);
    void RunModalLoop();
    HWND Owner() const;
    void CenterWindow(HWND owner);

    UINT templateId;
    CWnd* parent;
    bool ended = false;
    INT_PTR result = -1;
    bool defaultRequested = false;
    std::string shutdownBlockReason;
};
