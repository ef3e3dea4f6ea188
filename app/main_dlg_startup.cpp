// The main dialog's start-up: from the dialog's creation to the moment the user first
// sees it.
#include <cstdio>
#include <vector>

#include "app/app_messages.h"
#include "app/main_dlg.h"
#include "framework/dpi.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "framework/wide_text.h"
#include "framework/wait_cursor.h"

namespace {

// Far beyond any real database, and what one read can take.
constexpr std::uint64_t kLargestDatabase = 0x7FFFFFFF;

enum class WholeRead { Done, TooLarge, Failed };

// Reads the opened file into `bytes`; a failure gives its reason in `problem`.
WholeRead ReadWhole(CFile& file, std::vector<std::uint8_t>& bytes, std::string& problem) {
    try {
        const std::uint64_t length = file.GetLength();
        if (length > kLargestDatabase) {
            problem = kDatabaseTooLarge;
            return WholeRead::TooLarge;
        }
        bytes.resize(static_cast<size_t>(length));
        UINT read = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        bytes.resize(read);  // the file may have shrunk since its length was taken
        file.Close();
    } catch (const CFileException& error) {
        problem = SystemErrorText(error.OsError());
        return WholeRead::Failed;
    }
    return WholeRead::Done;
}

// A kernel object's name for the folder of `databasePath`: one name whatever the case
// of its letters, and free of the backslashes that a name can't hold.
std::string KeptEditsLockName(const std::string& databasePath) {
    std::wstring wide = WideFromUtf8(databasePath);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    const std::string folded = Utf8FromWide(wide);
    char name[48];
    std::snprintf(name, sizeof(name), "Lorebinder.KeptEdits.%016llx",
                  static_cast<unsigned long long>(StableHash(folded.data(), folded.size())));
    return name;
}

}  // namespace

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
    LoadDatabase();
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

void CMainDlg::LoadDatabase() {
    CFile file;
    DWORD openError = 0;
    if (!file.Open(databasePath, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary,
                   &openError)) {
        if (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND) {
            AfxMessageBox(NoDatabaseMessage(databasePath));
            return;
        }
        databaseFound = true;
        // The file is there but won't open (in use, no access): saying "no database"
        // would invite the user to overwrite a file they still have.
        databaseReadProblem = OpenFailureReason(databasePath, openError);
        AfxMessageBox(IsFolder(databasePath)
                          ? DatabaseIsFolderMessage(databasePath)
                          : DatabaseOpenFailedMessage(databasePath, databaseReadProblem));
        return;
    }

    databaseFound = true;
    std::vector<std::uint8_t> bytes;
    switch (ReadWhole(file, bytes, databaseReadProblem)) {
        case WholeRead::Done:
            break;
        case WholeRead::TooLarge:
            AfxMessageBox(DatabaseTooLargeMessage(databasePath));
            return;
        case WholeRead::Failed:
            AfxMessageBox(DatabaseReadFailedMessage(databasePath, databaseReadProblem));
            return;
    }
    databaseFingerprint = FingerprintOf(bytes.data(), bytes.size());

    if (bytes.empty()) {
        // Often a download that never finished; "damaged" would say too much.
        databaseReadProblem = kDatabaseEmpty;
        AfxMessageBox(DatabaseEmptyMessage(databasePath));
        return;
    }
    ImageReadResult loaded = database.ReadImage(bytes.data(), bytes.size());
    if (loaded.damaged) {
        databaseReadProblem = DatabasePartlyReadReason(loaded.bytesParsed, bytes.size());
        AfxMessageBox(DatabaseDamagedMessage(databasePath, loaded.bytesParsed, bytes.size(),
                                             loaded.questsKept, loaded.itemsKept));
    }
}

// Edits that an earlier run in this folder kept and never saved are offered back once
// the database is read, before the journal links its entries to the items.
void CMainDlg::OfferKeptEdits() {
    savedImage.Take(database);
    keptEditsPath = databasePath + ".unsaved";
    // A copy of the program that runs here already keeps its own edits in that file.
    if (!keptEditsLock.Take(KeptEditsLockName(databasePath))) return;
    keepsEdits = true;

    CFile file;
    DWORD openError = 0;
    std::vector<std::uint8_t> bytes;
    std::string problem;
    if (!file.Open(keptEditsPath, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary,
                   &openError)) {
        if (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND) return;
        problem = OpenFailureReason(keptEditsPath, openError);
    } else {
        ReadWhole(file, bytes, problem);
    }
    QuestDatabase kept;
    if (problem.empty()) {
        switch (savedImage.Apply(bytes.data(), bytes.size(), kept)) {
            case KeptEditsResult::Applied:
                break;
            case KeptEditsResult::Damaged:
                problem = bytes.empty() ? kDatabaseEmpty : kKeptEditsDamaged;
                break;
            case KeptEditsResult::OtherDatabase:
                problem = kKeptEditsOfOtherDatabase;
                break;
        }
    }
    if (!problem.empty()) {
        // Whatever it holds may still matter to the user: this run leaves it be.
        keepsEdits = false;
        AfxMessageBox(KeptEditsUnreadableMessage(keptEditsPath, problem));
        return;
    }

    // Only No discards them: Esc on the question keeps them, still unsaved.
    if (AfxMessageBox(RestoreKeptEditsQuestion(databasePath), MB_YESNO) == IDNO) {
        RemoveKeptEdits();
        return;
    }
    database.quests = std::move(kept.quests);
    database.InvalidateIndex();
}
