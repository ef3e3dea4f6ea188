// The journal follows the game: the dialog's side of JournalFollower, which decides.
#include "app/main_dlg.h"

namespace {

constexpr UINT_PTR kLookTimer = 1;   // ticks for as long as the window runs
constexpr UINT_PTR kStillTimer = 2;  // the end of a wait for the file to be still

JournalFollower::Time Now() {
    return JournalFollower::Time(GetTickCount64());
}

UINT Milliseconds(JournalFollower::Time time) {
    return static_cast<UINT>(time.count());
}

}  // namespace

void CMainDlg::StartFollowingJournal() {
    SetTimer(m_hWnd, kLookTimer, Milliseconds(JournalFollower::kTickEvery), nullptr);
}

void CMainDlg::OnTimer(UINT_PTR id) {
    if (id == kStillTimer) {
        KillTimer(m_hWnd, kStillTimer);
        follower.WaitOver();
        return;
    }
    // On screen without the focus: beside the game, on a second monitor.
    follower.Ticked(IsWindowVisible(m_hWnd) && !IsIconic() && GetForegroundWindow() != m_hWnd);
}

void CMainDlg::OnActivate(bool active) {
    if (active) follower.Activated();
    Default();  // the dialog gives the focus back to the control that had it
}

// A look, and the read it calls for, wait for the window to be free: a message box, a
// menu or a command in progress runs a loop of its own, and this one idles after it.
void CMainDlg::OnIdle() {
    if (!follower.LookDue()) return;
    const JournalFollower::Decision decision = follower.Look(Now(), StampOf(journalPath));
    switch (decision.action) {
        case JournalFollower::Decision::Action::Nothing:
            return;
        case JournalFollower::Decision::Action::Wait:
            SetTimer(m_hWnd, kStillTimer, Milliseconds(decision.wait), nullptr);
            return;
        case JournalFollower::Decision::Action::Read:
            ReloadJournal(JournalReload::Automatic);
            return;
    }
}
