// Unsaved edits: knowing that there are some, keeping them on disk against a crash, and
// not letting the end of the session take them.
#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/replace_file.h"

void CMainDlg::DatabaseChanged() {
    KeepUnsavedEdits();
}

bool CMainDlg::HasUnsavedEdits() const {
    return savedImage.Differs(database);
}

// Only the quests that differ, so that an edit writes little however large the
// database; the file is written beside and moved over the last one, as a save is, so it
// is always whole.
void CMainDlg::KeepUnsavedEdits() {
    const ByteBuffer kept = savedImage.KeptEdits(database);
    if (kept.Size() == 0) {
        RemoveKeptEdits();
        AllowShutdown();
        return;
    }
    if (!keepsEdits) return;
    std::string failure;
    try {
        DWORD reason = 0;
        if (WriteFileReplacing(keptEditsPath, std::string(), kept.Data(), kept.Size(), &reason) !=
            ReplaceRefusal::None)
            failure = OpenFailureReason(keptEditsPath, reason);
    } catch (const CFileException& error) {
        failure = SystemErrorText(error.OsError());
    }
    const bool alreadySaid = keptEditsWriteFailed;
    keptEditsWriteFailed = !failure.empty();
    // One message for a failure that lasts, not one per edit.
    if (keptEditsWriteFailed && !alreadySaid)
        AfxMessageBox(KeptEditsNotWrittenMessage(keptEditsPath, failure));
}

void CMainDlg::RemoveKeptEdits() {
    // A file that won't go is harmless: the next start offers it, and No removes it.
    if (keepsEdits) CFile::Remove(keptEditsPath);
}

// Nothing unsaved: the session may end. Otherwise the platform learns why it waits,
// and the save question decides: Yes (once saved) and No let the session end.
BOOL CMainDlg::OnQueryEndSession(UINT) {
    discardAtSessionEnd = false;
    if (!HasUnsavedEdits()) return TRUE;
    BlockShutdown(kUnsavedChangesReason);
    CloseChoice choice = CloseChoice::Stay;
    if (!SaveIfWanted(&choice)) return FALSE;  // the reason stays while the edits do
    discardAtSessionEnd = choice == CloseChoice::Discard;
    AllowShutdown();
    return TRUE;
}

// The process may go as soon as this returns, so the run ends here, without a question.
// Edits that nobody agreed to discard (the session ends by force, or despite a refusal)
// stay kept for the next start.
void CMainDlg::OnEndSession(BOOL ending, UINT) {
    if (!ending) {
        discardAtSessionEnd = false;  // the session goes on, and so does the window
        return;
    }
    if (discardAtSessionEnd || !HasUnsavedEdits())
        EndRun();
    else
        CDialog::OnCancel();
}
