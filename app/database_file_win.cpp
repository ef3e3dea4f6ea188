#include "app/database_file_win.h"

#include <windows.h>

#include <cstdio>

#include "framework/wide_text.h"

namespace {

// A kernel object's name for the folder of `databasePath`: its identity on its volume,
// whatever path reaches it (a short name, a second drive letter, a junction). A folder
// that won't tell its identity is named by its path, one name whatever the case of its
// letters, free of the backslashes that a name can't hold.
std::string KeptEditsLockName(const std::string& databasePath) {
    const std::string folder = databasePath.substr(0, databasePath.find_last_of('\\') + 1);
    HANDLE handle = CreateFileW(WideFromUtf8(folder).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION identity = {};
    const bool known =
        handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &identity);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    char name[64];
    if (known) {
        std::snprintf(name, sizeof(name), "Lorebinder.KeptEdits.%08lx.%08lx%08lx",
                      identity.dwVolumeSerialNumber, identity.nFileIndexHigh,
                      identity.nFileIndexLow);
        return name;
    }
    std::wstring wide = WideFromUtf8(databasePath);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    const std::string folded = Utf8FromWide(wide);
    std::snprintf(name, sizeof(name), "Lorebinder.KeptEdits.%016llx",
                  static_cast<unsigned long long>(StableHash(folded.data(), folded.size())));
    return name;
}

}  // namespace

Answer AnswerOf(int button) {
    return button == IDYES ? Answer::Yes : button == IDNO ? Answer::No : Answer::Other;
}

bool CDatabaseFile::TakeKeptEditsLock(const std::string& databasePath) {
    if (!keptEditsLock.Take(KeptEditsLockName(databasePath))) return false;
    KeepEdits();
    return true;
}
