// Closing the main dialog: the save question and the save of the quest database.
#include <functional>
#include <string_view>

#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/replace_file.h"
#include "framework/wait_cursor.h"

// A close request: the caption's close box, Close on the system menu, Alt+F4.
void CMainDlg::OnClose() {
    if (SaveIfWanted()) EndRun();
}

// Esc ends the run at once only when that loses nothing; with unsaved edits it is a
// close request.
void CMainDlg::OnCancel() {
    if (!HasUnsavedEdits() || SaveIfWanted()) EndRun();
}

void CMainDlg::EndRun() {
    RemoveKeptEdits();
    CDialog::OnCancel();  // the cancel command, which ends the run
}

// A save that fails keeps the window open: the user's work is still here.
bool CMainDlg::SaveIfWanted(CloseChoice* choice) {
    const CloseChoice answer = AskSaveOnClose();
    if (choice) *choice = answer;
    switch (answer) {
        case CloseChoice::Save:
            return SaveDatabase();
        case CloseChoice::Discard:
            return true;
        case CloseChoice::Stay:
            break;
    }
    return false;
}

// Yes saves, though a file the user may still want takes a second yes to replace: one
// that another program wrote while we ran, or one that start-up couldn't read whole.
// Only No to the first question closes without saving; any answer but Yes to the
// second keeps the window and writes nothing.
CMainDlg::CloseChoice CMainDlg::AskSaveOnClose() {
    int answer = AfxMessageBox(kSaveQuestion, MB_YESNO);
    if (answer == IDNO) return CloseChoice::Discard;
    // Anything but Yes or No (Esc gives IDCANCEL) means the user hasn't decided.
    if (answer != IDYES) return CloseChoice::Stay;

    std::string question;
    switch (CheckDatabaseOnDisk()) {
        case DatabaseOnDisk::Removed:
            return CloseChoice::Save;  // nothing there to lose
        case DatabaseOnDisk::Unreadable:
            AfxMessageBox(SaveFailedMessage(databasePath));
            return CloseChoice::Stay;
        case DatabaseOnDisk::Changed:
            question = ReplaceChangedQuestion(databasePath);
            break;
        case DatabaseOnDisk::AsStartupFoundIt:
            if (databaseReadProblem.empty()) return CloseChoice::Save;
            question = ReplacePartlyReadQuestion(databasePath, databaseReadProblem);
            break;
    }
    return AfxMessageBox(question, MB_YESNO) == IDYES ? CloseChoice::Save : CloseChoice::Stay;
}

// Reads quests.lbd again to compare it with what start-up read: its write time alone
// could miss a copy that kept the time of its source. A read that fails after the file
// opened throws, and the framework reports it and abandons the close.
CMainDlg::DatabaseOnDisk CMainDlg::CheckDatabaseOnDisk() {
    CFile file;
    DWORD openError = 0;
    const bool opened = file.Open(
        databasePath, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary, &openError);
    if (!opened && (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND))
        return databaseFound ? DatabaseOnDisk::Removed : DatabaseOnDisk::AsStartupFoundIt;
    // What start-up couldn't read has nothing to compare with; the read-problem question
    // guards it, and a save that can't open it says so then.
    if (databaseFound && !databaseFingerprint) return DatabaseOnDisk::AsStartupFoundIt;
    if (!opened) return DatabaseOnDisk::Unreadable;
    if (!databaseFound) return DatabaseOnDisk::Changed;  // one has appeared since

    // A different length needs no reading (and may be too large to read).
    const std::uint64_t length = file.GetLength();
    if (length != databaseFingerprint->length) return DatabaseOnDisk::Changed;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    UINT read = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    bytes.resize(read);
    // The handle was only read from: closing it can't lose anything, so the destructor does.
    return FingerprintOf(bytes.data(), bytes.size()) == *databaseFingerprint
               ? DatabaseOnDisk::AsStartupFoundIt
               : DatabaseOnDisk::Changed;
}

CMainDlg::FileFingerprint CMainDlg::FingerprintOf(const void* bytes, std::size_t size) {
    return {size,
            std::hash<std::string_view>()(std::string_view(static_cast<const char*>(bytes), size))};
}

// The image is written beside quests.lbd and moved over it only once it is complete on
// disk, so no failure can leave the previous database damaged; the file it replaces
// stays as quests.lbd.bak, so a save the user regrets can be undone. A write failure
// throws and is reported by the framework, which also abandons the close.
bool CMainDlg::SaveDatabase() {
    CWaitCursor wait;
    ByteBuffer image;
    database.WriteImage(image);
    const std::string backupPath = databasePath + ".bak";
    DWORD reason = 0;
    switch (WriteFileReplacing(databasePath, backupPath, image.Data(), image.Size(), &reason)) {
        case ReplaceRefusal::None:
            break;
        case ReplaceRefusal::Target:
            AfxMessageBox(SaveFailedMessage(databasePath));
            return false;
        case ReplaceRefusal::Backup:
            AfxMessageBox(BackupFailedMessage(backupPath, SystemErrorText(reason)));
            return false;
    }
    databaseReadProblem.clear();
    databaseFound = true;
    databaseFingerprint = FingerprintOf(image.Data(), image.Size());
    savedImage.Take(database, std::move(image));
    KeepUnsavedEdits();  // nothing is unsaved now: the kept edits go
    return true;
}
