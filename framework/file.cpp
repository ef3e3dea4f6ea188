#include "framework/file.h"

#include "framework/file_faults.h"
#include "framework/wide_text.h"

CFile::~CFile() {
    // A destructor must not throw; code that cares about close errors calls Close().
    if (IsOpen()) CloseHandle(handle);
}

bool CFile::Open(const std::string& filePath, UINT flags, DWORD* osError) {
    DWORD error = TakeFileFault(FileOperation::Open, filePath);
    const bool writing = (flags & modeWrite) != 0;
    if (!error && writing) {
        // Windows refuses to write a read-only file, but not everyone does (Wine run
        // as root writes it), so ask the attribute ourselves.
        DWORD attributes = GetFileAttributesW(WideFromUtf8(filePath).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            error = ERROR_ACCESS_DENIED;
    }
    if (!error) {
        const DWORD sharing = !writing && (flags & shareDenyNone)
                                  ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                  : 0;
        handle = CreateFileW(WideFromUtf8(filePath).c_str(), writing ? GENERIC_WRITE : GENERIC_READ,
                             sharing, nullptr, (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) error = GetLastError();
    }
    if (osError) *osError = error;
    if (error) {
        handle = INVALID_HANDLE_VALUE;
        return false;
    }
    path = filePath;
    return true;
}

void CFile::Fail(const char* operation, DWORD error) const {
    throw CFileException(path, operation, error ? error : ERROR_GEN_FAILURE);
}

std::uint64_t CFile::GetLength() const {
    LARGE_INTEGER size = {};
    if (DWORD fault = TakeFileFault(FileOperation::Length, path)) Fail("read", fault);
    if (!GetFileSizeEx(handle, &size)) Fail("read", GetLastError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

void CFile::Seek(std::uint64_t position) {
    LARGE_INTEGER to = {};
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!SetFilePointerEx(handle, to, nullptr, FILE_BEGIN)) Fail("read", GetLastError());
}

UINT CFile::Read(void* buffer, UINT count) {
    if (DWORD fault = TakeFileFault(FileOperation::Read, path)) Fail("read", fault);
    DWORD read = 0;
    if (!ReadFile(handle, buffer, count, &read, nullptr)) Fail("read", GetLastError());
    return read;
}

void CFile::Write(const void* buffer, UINT count) {
    if (DWORD fault = TakeFileFault(FileOperation::Write, path)) Fail("write", fault);
    DWORD written = 0;
    if (!WriteFile(handle, buffer, count, &written, nullptr)) Fail("write", GetLastError());
    if (written != count) Fail("write", ERROR_HANDLE_DISK_FULL);
}

void CFile::Flush() {
    if (DWORD fault = TakeFileFault(FileOperation::Flush, path)) Fail("write", fault);
    if (!FlushFileBuffers(handle)) Fail("write", GetLastError());
}

void CFile::Close() {
    if (!IsOpen()) return;
    HANDLE closing = handle;
    handle = INVALID_HANDLE_VALUE;
    DWORD fault = TakeFileFault(FileOperation::Close, path);
    if (!CloseHandle(closing) && !fault) fault = GetLastError();
    if (fault) Fail("close", fault);
}

void CFile::Replace(const std::string& from, const std::string& to, const std::string& backup) {
    const std::wstring wideFrom = WideFromUtf8(from), wideTo = WideFromUtf8(to);
    const std::wstring wideBackup = WideFromUtf8(backup);
    DWORD error = TakeFileFault(FileOperation::Replace, to);
    if (!error && backup.empty() &&
        !MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (!error && !backup.empty() &&
        !ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), wideBackup.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        error = GetLastError();
        // The old file went to the backup's name, the new one couldn't follow it: put the
        // old one back, so that `to` is never missing.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            MoveFileExW(wideBackup.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    if (error) throw CFileException(to, "replace", error);
}

bool CFile::Remove(const std::string& path, DWORD* osError) {
    DWORD error = DeleteFileW(WideFromUtf8(path).c_str()) ? 0 : GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) error = 0;
    if (osError) *osError = error;
    return error == 0;
}

WholeFile ReadWholeFile(const std::string& path, std::uint64_t largest) {
    WholeFile whole;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareExclusive | CFile::typeBinary,
                   &whole.osError)) {
        const bool missing =
            whole.osError == ERROR_FILE_NOT_FOUND || whole.osError == ERROR_PATH_NOT_FOUND;
        whole.status = missing ? WholeFile::Status::Missing : WholeFile::Status::Unopenable;
        return whole;
    }
    try {
        const std::uint64_t length = file.GetLength();
        if (length > largest || length > 0x7FFFFFFF) {  // what one read can take
            whole.status = WholeFile::Status::TooLarge;
            return whole;
        }
        whole.bytes.resize(static_cast<std::size_t>(length));
        UINT read = length ? file.Read(whole.bytes.data(), static_cast<UINT>(length)) : 0;
        whole.bytes.resize(read);  // the file may have shrunk since its length was taken
    } catch (const CFileException& error) {
        whole.status = WholeFile::Status::Unreadable;
        whole.osError = error.OsError();
        whole.bytes.clear();
        return whole;
    }
    // The handle was only read from: closing it can't lose anything, so the destructor does.
    whole.status = WholeFile::Status::Read;
    return whole;
}

std::optional<FileFacts> LookUpFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    return FileFacts{join(data.nFileSizeHigh, data.nFileSizeLow),
                     join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The file's volume and index; false when it can't be opened even to look at it.
bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    // No access asked for, so that a file another program holds is looked at all the same.
    HANDLE handle = CreateFileW(WideFromUtf8(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(handle, &identity) != FALSE;
    CloseHandle(handle);
    return known;
}

}  // namespace

bool IsSameFile(const std::string& path, const std::string& other) {
    BY_HANDLE_FILE_INFORMATION one, two;
    return IdentityOf(path, one) && IdentityOf(other, two) &&
           one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
           one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
}

std::string OpenFailureReason(const std::string& path, DWORD error) {
    return IsFolder(path) ? kIsFolderReason : SystemErrorText(error);
}
