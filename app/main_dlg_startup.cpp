// The main dialog's start-up: from the dialog's creation to the moment the user first
// sees it.
#include <new>
#include <vector>

#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/dpi.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/wide_text.h"
#include "framework/wait_cursor.h"

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AppendAboutToSystemMenu();
    dpi = baseDpi = WindowDpi(m_hWnd);
    ShowIcon();

    // The text panes' font is still the template's: every later scaling starts from it.
    GetObjectA(listTextPane.GetFont(), sizeof(baseFont), &baseFont);
    ScaleFont(1.0f);

    std::string directory;
    if (!FindProgramDirectory(directory)) {
        AfxMessageBox(kNoProgramDirectory);
        EndDialog(IDABORT);
        return FALSE;
    }
    journalPath = directory + "\\journal.htm";
    databasePath = directory + "\\quests.lbd";

    CWaitCursor wait;
    StartupRead read;
    LoadDatabase(read);
    databaseFile.Started(databasePath, std::move(read), database);
    OfferKeptEdits();
    ReadJournal(journalPath);

    unknownCheck.SetCheck(BST_CHECKED);
    ShowPrefsChanged();
    // The tree takes the focus while it is still empty: a tree view that gains the
    // focus with items but no selection selects its first item itself, and the player
    // would start out with a quest chosen that they never picked.
    ::SetFocus(questTree);
    unfinishedCheck.SetCheck(BST_CHECKED);
    TreePrefsChanged();
    StartFollowingJournal();
    return FALSE;  // the focus is set
}

// The directory is everything before the path's last backslash.
bool CMainDlg::FindProgramDirectory(std::string& directory) {
    std::optional<std::string> path = GetProgramPath(5000);
    if (!path) return false;
    size_t separator = path->rfind('\\');
    if (separator == std::string::npos) return false;
    directory = path->substr(0, separator);
    return true;
}

void CMainDlg::LoadDatabase(StartupRead& read) {
    WholeFile file = ReadWholeFile(databasePath, kLargestDatabaseFile);
    bool leftCopiesSaid = false;
    if (file.status == WholeFile::Status::Missing && (leftCopiesSaid = OfferLeftCopies()))
        file = ReadWholeFile(databasePath, kLargestDatabaseFile);
    read.found = file.status != WholeFile::Status::Missing;
    switch (file.status) {
        case WholeFile::Status::Missing:
            if (!leftCopiesSaid) AfxMessageBox(NoDatabaseMessage(databasePath));
            return;
        case WholeFile::Status::Unopenable:
            // The file is there but won't open (in use, no access): saying "no database"
            // would invite the user to overwrite a file they still have.
            read.problem = OpenFailureReason(databasePath, file.osError);
            AfxMessageBox(IsFolder(databasePath)
                              ? DatabaseIsFolderMessage(databasePath)
                              : DatabaseOpenFailedMessage(databasePath, read.problem));
            return;
        case WholeFile::Status::TooLarge:
            read.problem = kDatabaseTooLarge;
            AfxMessageBox(DatabaseTooLargeMessage(databasePath));
            return;
        case WholeFile::Status::Unreadable:
            read.problem = SystemErrorText(file.osError);
            AfxMessageBox(DatabaseReadFailedMessage(databasePath, read.problem));
            return;
        case WholeFile::Status::Read:
            break;
    }
    const std::vector<std::uint8_t>& bytes = file.bytes;
    read.fingerprint = FileFingerprint::Of(bytes.data(), bytes.size());
    if (bytes.empty()) {
        // Often a download that never finished; "damaged" would say too much.
        read.problem = kDatabaseEmpty;
        AfxMessageBox(DatabaseEmptyMessage(databasePath));
        return;
    }
    ImageReadResult loaded = database.ReadImage(bytes.data(), bytes.size());
    if (loaded.damaged) {
        read.problem = DatabasePartlyReadReason(loaded.bytesParsed, bytes.size());
        AfxMessageBox(DatabaseDamagedMessage(databasePath, loaded.bytesParsed, bytes.size(),
                                             loaded.questsKept, loaded.itemsKept));
    }
}

// quests.lbd missing: the copies that a save cut off between its two moves left behind
// are named, and the newest complete one offered in its place. False when there are
// none.
bool CMainDlg::OfferLeftCopies() {
    const std::string temporary = databasePath + ".tmp";
    std::vector<LeftCopy> copies;
    std::vector<std::string> paths;
    for (const std::string& path : {temporary, databasePath + ".bak"}) {
        const std::optional<FileFacts> facts = LookUpFile(path);
        if (!facts) continue;
        const WholeFile copy = ReadWholeFile(path, kLargestDatabaseFile);
        QuestDatabase check;
        const bool complete = copy.status == WholeFile::Status::Read && !copy.bytes.empty() &&
                              !check.ReadImage(copy.bytes.data(), copy.bytes.size()).damaged;
        copies.push_back({path, complete, facts->writeTime});
        paths.push_back(path);
    }
    if (copies.empty()) return false;
    const LeftCopy* newest = databaseFile.OfferLeftCopy(copies, temporary);
    if (!newest) {
        AfxMessageBox(LeftCopiesIncompleteMessage(databasePath, paths));
        return true;
    }
    if (AfxMessageBox(RestoreLeftCopyQuestion(databasePath, paths, newest->path), MB_YESNO) !=
        IDYES) {
        databaseFile.LeftCopyDeclined();
        return true;
    }
    // The new image moves into place, as the save would have; a backup stays one.
    const std::wstring from = WideFromUtf8(newest->path), to = WideFromUtf8(databasePath);
    if (newest->path == temporary ? !MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)
                                  : !CopyFileW(from.c_str(), to.c_str(), TRUE)) {
        AfxMessageBox(LeftCopyNotRestoredMessage(newest->path, SystemErrorText(GetLastError())));
        databaseFile.LeftCopyDeclined();
    }
    return true;
}

// Edits that an earlier run in this folder kept and never saved are offered back once
// the database is read, before the journal links its entries to the items.
void CMainDlg::OfferKeptEdits() {
    // A copy of the program that runs here already keeps its own edits in that file.
    if (!databaseFile.TakeKeptEditsLock(databasePath)) return;
    const std::string& path = databaseFile.KeptEditsPath();
    // Edits of this database with this journal's entries make no larger file: a larger
    // one is damaged, and isn't read at all.
    const std::optional<FileFacts> journalFile = LookUpFile(journalPath);
    const std::uint64_t largest =
        databaseFile.LargestKeptEdits(journalFile ? journalFile->length : 0);
    KeptFileVerdict verdict;
    try {
        WholeFile file = ReadWholeFile(path, largest);
        switch (file.status) {
            case WholeFile::Status::Missing:
                return;
            case WholeFile::Status::Unopenable:
                verdict = databaseFile.KeptFileUnreadable(OpenFailureReason(path, file.osError));
                break;
            case WholeFile::Status::TooLarge:
                verdict = databaseFile.KeptFileUnreadable(kKeptEditsDamaged);
                break;
            case WholeFile::Status::Unreadable:
                verdict = databaseFile.KeptFileUnreadable(SystemErrorText(file.osError));
                break;
            case WholeFile::Status::Read:
                verdict = databaseFile.KeptFileRead(file.bytes.data(), file.bytes.size());
                break;
        }
    } catch (const std::bad_alloc&) {
        verdict = databaseFile.KeptFileUnreadable(kKeptEditsTooLargeForMemory);
    }
    switch (verdict.step) {
        case KeptFileVerdict::Step::Nothing:
            break;
        case KeptFileVerdict::Step::SayUnreadable:
            AfxMessageBox(KeptEditsUnreadableMessage(path, verdict.reason));
            break;
        case KeptFileVerdict::Step::Remove:
            RemoveKeptEdits();
            break;
        case KeptFileVerdict::Step::AskRestore:
            const int answer = AfxMessageBox(RestoreKeptEditsQuestion(databasePath), MB_YESNO);
            if (databaseFile.RestoreAnswered(AnswerOf(answer), database)) RemoveKeptEdits();
            break;
    }
}
