// Closing the main dialog: the save question and the save of the quest database.
#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/replace_file.h"
#include "framework/wait_cursor.h"
#include "framework/wide_text.h"

// A close request: the caption's close box, Close on the system menu, Alt+F4.
void CMainDlg::OnClose() {
    EndRunAs(TakeCloseSteps(databaseFile.Close()));
}

void CMainDlg::OnCancel() {
    EndRunAs(TakeCloseSteps(databaseFile.Esc(HasUnsavedEdits())));
}

CloseStep CMainDlg::TakeCloseSteps(CloseStep step) {
    while (!IsLastStep(step)) {
        switch (step) {
            case CloseStep::AskSave:
                step = databaseFile.Answered(AnswerOf(AfxMessageBox(kSaveQuestion, MB_YESNO)));
                break;
            case CloseStep::AskReplaceChanged:
                step = databaseFile.Answered(
                    AnswerOf(AfxMessageBox(ReplaceChangedQuestion(databasePath), MB_YESNO)));
                break;
            case CloseStep::AskReplacePartlyRead:
                step = databaseFile.Answered(AnswerOf(AfxMessageBox(
                    ReplacePartlyReadQuestion(databasePath, databaseFile.ReadProblem()),
                    MB_YESNO)));
                break;
            case CloseStep::LookAtDatabase: {
                std::optional<FileFingerprint> fingerprint;
                const FileLook look = LookAtDatabase(fingerprint);
                step = databaseFile.Looked(look, fingerprint);
                break;
            }
            case CloseStep::SayCantSave:
                AfxMessageBox(SaveFailedMessage(databasePath));
                step = databaseFile.Said();
                break;
            case CloseStep::Save:
                step = databaseFile.SaveEnded(SaveDatabase());
                break;
            default:
                return step;
        }
    }
    return step;
}

void CMainDlg::EndRunAs(CloseStep last) {
    if (last == CloseStep::EndRun) RemoveKeptEdits();
    if (last == CloseStep::EndRun || last == CloseStep::EndRunKeepingEdits)
        CDialog::OnCancel();  // the cancel command, which ends the run
}

// A read that fails after the file opened is reported by the framework, which abandons
// the close.
FileLook CMainDlg::LookAtDatabase(std::optional<FileFingerprint>& fingerprint) {
    WholeFile file = ReadWholeFile(databasePath, databaseFile.LengthWorthReading());
    switch (file.status) {
        case WholeFile::Status::Missing:
            return FileLook::Missing;
        case WholeFile::Status::Unopenable:
            return FileLook::Unopenable;
        case WholeFile::Status::TooLarge:
            return FileLook::NotRead;
        case WholeFile::Status::Unreadable:
            throw CFileException(databasePath, "read", file.osError);
        case WholeFile::Status::Read:
            break;
    }
    fingerprint = FileFingerprint::Of(file.bytes.data(), file.bytes.size());
    return FileLook::Read;
}

// The image is written beside quests.lbd and moved over it only once it is complete on
// disk, so no failure can leave the previous database damaged; the file it replaces
// stays as quests.lbd.bak, so a save the user regrets can be undone.
bool CMainDlg::SaveDatabase() {
    CWaitCursor wait;
    ByteBuffer image;
    database.WriteImage(image);
    const std::string backupPath = databasePath + ".bak";
    // The copy that a cut-off save left, declined at start-up, is the newest complete
    // one: the new image mustn't be written over it.
    if (databaseFile.KeepLeftCopyAsBackup() && !LookUpFile(databasePath) &&
        !MoveFileExW(WideFromUtf8(databasePath + ".tmp").c_str(), WideFromUtf8(backupPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) &&
        GetLastError() != ERROR_FILE_NOT_FOUND) {
        AfxMessageBox(BackupFailedMessage(backupPath, SystemErrorText(GetLastError())));
        return false;
    }
    const FileWrite written =
        WriteFileReplacing(databasePath, backupPath, image.Data(), image.Size());
    switch (written.failure) {
        case FileWrite::Failure::None:
            break;
        case FileWrite::Failure::Target:
            AfxMessageBox(SaveFailedMessage(databasePath));
            return false;
        case FileWrite::Failure::Backup:
            AfxMessageBox(BackupFailedMessage(backupPath, SystemErrorText(written.osError)));
            return false;
        case FileWrite::Failure::Writing:
            AfxMessageBox(CFileException(databasePath, written.operation, written.osError).what(),
                          MB_OK | MB_ICONSTOP);
            return false;
    }
    databaseFile.Saved(database, std::move(image));
    KeepUnsavedEdits();  // nothing is unsaved now: the kept edits go
    return true;
}
