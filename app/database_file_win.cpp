#include "app/database_file_win.h"

#include <windows.h>

#include <cstdio>

#include "framework/wide_text.h"

namespace {

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

Answer AnswerOf(int button) {
    return button == IDYES ? Answer::Yes : button == IDNO ? Answer::No : Answer::Other;
}

bool CDatabaseFile::TakeKeptEditsLock(const std::string& databasePath) {
    if (!keptEditsLock.Take(KeptEditsLockName(databasePath))) return false;
    KeepEdits();
    return true;
}
