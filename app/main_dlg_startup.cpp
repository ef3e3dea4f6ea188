// The main dialog's start-up: from the dialog's creation to the moment the user first
// sees it.
#include <vector>

#include "app/main_dlg.h"
#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/program_path.h"
#include "res/resource.h"

namespace {

// Far beyond any real database, and what one read can take.
constexpr std::uint64_t kLargestDatabase = 0x7FFFFFFF;

const char kStartsEmpty[] =
    "\n\nLorebinder starts with an empty database and leaves the file alone unless you agree "
    "to replace it when you close.";

std::string Counted(std::size_t count, const char* one, const char* many = nullptr) {
    std::string noun = count == 1 ? one : many ? many : std::string(one) + "s";
    return std::to_string(count) + " " + noun;
}

}  // namespace

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AppendAboutToSystemMenu();
    SetIcon(appIcon, TRUE);
    SetIcon(appIcon, FALSE);

    // The text panes' font is still the template's: every later scaling starts from it.
    GetObjectA(listTextPane.GetFont(), sizeof(baseFont), &baseFont);
    ScaleFont(1.0f);

    std::string directory;
    if (!FindProgramDirectory(directory)) {
        AfxMessageBox("Couldn't get the application directory.");
        EndDialog(IDABORT);
        return FALSE;
    }
    journalPath = directory + "\\journal.htm";
    databasePath = directory + "\\quests.lbd";

    LoadDatabase();
    ReadJournal(journalPath);

    unknownCheck.SetCheck(BST_CHECKED);
    ShowPrefsChanged();
    // The tree takes the focus while it is still empty: a tree view that gains the
    // focus with items but no selection selects its first item itself, and the player
    // would start out with a quest chosen that they never picked.
    ::SetFocus(questTree);
    unfinishedCheck.SetCheck(BST_CHECKED);
    TreePrefsChanged();
    return FALSE;  // the focus is set
}

void CMainDlg::AppendAboutToSystemMenu() {
    HMENU systemMenu = GetSystemMenu(FALSE);
    if (!systemMenu) return;
    char text[256] = "";
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof(text)) <= 0) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
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
            AfxMessageBox("No quest database (" + databasePath +
                          ") found.\nYou'll have to build one from your journal entries, or get "
                          "a quests.lbd from somewhere else.");
            return;
        }
        databaseFound = true;
        // The file is there but won't open (in use, no access): saying "no database"
        // would invite the user to overwrite a file they still have.
        DWORD attributes = GetFileAttributesA(databasePath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // The platform only says "access denied" for a folder.
            databaseReadProblem = "It is a folder, not a file.";
            AfxMessageBox("The quest database (" + databasePath + ") is a folder, not a file." +
                          kStartsEmpty);
            return;
        }
        databaseReadProblem = SystemErrorText(openError);
        AfxMessageBox("The quest database (" + databasePath + ") couldn't be opened:\n" +
                      databaseReadProblem + kStartsEmpty);
        return;
    }

    databaseFound = true;
    std::vector<std::uint8_t> bytes;
    try {
        std::uint64_t length = file.GetLength();
        if (length > kLargestDatabase) {
            databaseReadProblem = "The file is too large to be a quest database.";
            AfxMessageBox("The quest database (" + databasePath + ") wasn't read:\n" +
                          databaseReadProblem + kStartsEmpty);
            return;
        }
        bytes.resize(static_cast<size_t>(length));
        UINT read = bytes.empty() ? 0 : file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        bytes.resize(read);  // the file may have shrunk since its length was taken
        file.Close();
    } catch (const CFileException& error) {
        databaseReadProblem = SystemErrorText(error.OsError());
        AfxMessageBox("Error reading the quest database (" + databasePath + "):\n" +
                      databaseReadProblem + kStartsEmpty);
        return;
    }
    databaseFingerprint = FingerprintOf(bytes.data(), bytes.size());

    if (bytes.empty()) {
        // Often a download that never finished; "damaged" would say too much.
        databaseReadProblem = "The file is empty.";
        AfxMessageBox("The quest database (" + databasePath + ") is empty." + kStartsEmpty);
        return;
    }
    ImageReadResult loaded = database.ReadImage(bytes.data(), bytes.size());
    if (loaded.damaged) {
        databaseReadProblem = "Only its first " + std::to_string(loaded.bytesParsed) + " of " +
                              std::to_string(bytes.size()) + " bytes could be read.";
        AfxMessageBox("The quest database (" + databasePath + ") is damaged. Only its first " +
                      std::to_string(loaded.bytesParsed) + " of " + std::to_string(bytes.size()) +
                      " bytes could be read: " + Counted(loaded.questsKept, "quest") + " with " +
                      Counted(loaded.itemsKept, "entry", "entries") +
                      ".\n\nLorebinder goes on with what it read and leaves the file "
                      "alone unless you agree to replace it when you close.");
    }
}
