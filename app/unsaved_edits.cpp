// Unsaved edits: knowing that there are some, keeping them on disk against a crash, and
// not letting the end of the session take them.
#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/replace_file.h"

void CMainDlg::DatabaseChanged(const EditChange* change) {
    if (change && !change->everyQuest)
        databaseFile.Edited(change->quests, change->questPutIn, change->questTakenOut);
    else
        databaseFile.EditedUntold();
    KeepUnsavedEdits();
}

bool CMainDlg::HasUnsavedEdits() const {
    return databaseFile.Differs(database);
}

// The file is written beside and moved over the last one, as a save is, so it is
// always whole.
void CMainDlg::KeepUnsavedEdits() {
    const KeptEditsUpdate update = databaseFile.Changed(database);
    if (update.action == KeptEditsUpdate::Action::Remove) RemoveKeptEdits();
    if (update.allowShutdown) AllowShutdown();
    if (update.action != KeptEditsUpdate::Action::Write) return;
    const std::string& path = databaseFile.KeptEditsPath();
    const FileWrite written =
        WriteFileReplacing(path, std::string(), update.bytes.Data(), update.bytes.Size());
    std::string failure;
    if (written.failure == FileWrite::Failure::Target)
        failure = OpenFailureReason(path, written.osError);
    else if (!written.Done())
        failure = SystemErrorText(written.osError);
    if (databaseFile.KeptEditsWritten(written.Done()))
        AfxMessageBox(KeptEditsNotWrittenMessage(path, failure));
}

void CMainDlg::RemoveKeptEdits() {
    // A file that won't go is harmless: the next start offers it, and No removes it.
    if (databaseFile.RemovesKeptEdits()) CFile::Remove(databaseFile.KeptEditsPath());
}

BOOL CMainDlg::OnQueryEndSession(UINT) {
    CloseStep step = databaseFile.QueryEndSession(HasUnsavedEdits());
    // The platform learns why it waits; the reason stays while the edits do.
    if (!IsLastStep(step)) BlockShutdown(kUnsavedChangesReason);
    step = TakeCloseSteps(step);
    if (step == CloseStep::AgreeToEndSession) AllowShutdown();
    return step == CloseStep::AgreeToEndSession;
}

void CMainDlg::OnEndSession(BOOL ending, UINT) {
    EndRunAs(databaseFile.EndSession(ending != FALSE, HasUnsavedEdits()));
}
