#include <windows.h>

#include "framework/file_exception.h"
#include "lbdtool/tool_files.h"

bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason) {
    // Wine lets a move replace a read-only file, which Windows refuses: refuse it everywhere.
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        reason = "it is read-only";
        return false;
    }
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    return true;
}
