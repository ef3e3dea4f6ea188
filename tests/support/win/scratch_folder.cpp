#include "tests/support/win/scratch_folder.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "framework/wide_text.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + " (error " + std::to_string(GetLastError()) + ")");
}

std::wstring Wide(const std::string& path) {
    return WideFromUtf8(path);
}

// Files go whatever their attributes; empty folders go too, as tests put them where
// files belong.
void Empty(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring path = Wide(folder) + L"\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (found.cFileName[0] != L'.') RemoveDirectoryW(path.c_str());
            continue;
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The whole file through the wide functions, which take any folder's name.
std::optional<std::string> ReadWhole(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    bool ok;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &read, nullptr)) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && ok;
}

}  // namespace

ScratchFolder ScratchFolder::Fresh(const std::string& purpose) {
    wchar_t temp[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp)) Fail("no temporary directory for", purpose);
    static int counter = 0;
    for (;;) {
        std::string path = Utf8FromWide(temp) + "lorebinder-" + purpose + "-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return ScratchFolder(std::move(path));
        if (GetLastError() != ERROR_ALREADY_EXISTS) Fail("can't create the folder", path);
    }
}

ScratchFolder ScratchFolder::At(const std::string& path) {
    Empty(path);
    // Every missing folder along the path, from the drive down.
    for (std::size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!CreateDirectoryW(Wide(part).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            Fail("can't create the folder", part);
        if (slash == std::string::npos) break;
    }
    return ScratchFolder(path);
}

ScratchFolder::ScratchFolder(ScratchFolder&& other) noexcept
    : path(std::move(other.path)), kept(other.kept) {
    other.path.clear();
}

ScratchFolder::~ScratchFolder() {
    if (!kept) Remove();
}

void ScratchFolder::Remove() {
    if (path.empty()) return;
    Empty(path);
    RemoveDirectoryW(Wide(path).c_str());
}

void ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    if (!WriteWhole(PathOf(name), bytes)) Fail("can't write", PathOf(name));
}

std::optional<std::string> ScratchFolder::Read(const std::string& name) const {
    if (GetFileAttributesW(Wide(PathOf(name)).c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    std::optional<std::string> bytes = ReadWhole(PathOf(name));
    if (!bytes) Fail("can't read", PathOf(name));
    return bytes;
}

void ScratchFolder::CopyIn(const std::string& sourcePath, const std::string& name) const {
    if (!CopyFileW(Wide(sourcePath).c_str(), Wide(PathOf(name)).c_str(), FALSE))
        Fail("can't copy " + sourcePath + " to", PathOf(name));
}

void ScratchFolder::Delete(const std::string& name) const {
    SetFileAttributesW(Wide(PathOf(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(Wide(PathOf(name)).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        Fail("can't delete", PathOf(name));
}

std::vector<std::string> ScratchFolder::Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(path + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(Utf8FromWide(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void ScratchFolder::Append(const std::string& name, const std::string& bytes) const {
    HANDLE file = CreateFileW(Wide(PathOf(name)).c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("can't open", PathOf(name));
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    if (!ok) Fail("can't append to", PathOf(name));
}

void ScratchFolder::Flush(const std::string& name) const {
    HANDLE file =
        CreateFileW(Wide(PathOf(name)).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool ok = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) Fail("can't flush", PathOf(name));
}

void ScratchFolder::SetReadOnly(const std::string& name, bool readOnly) const {
    if (!SetFileAttributesW(Wide(PathOf(name)).c_str(),
                            readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL))
        Fail("can't set the attributes of", PathOf(name));
}

void ScratchFolder::Extend(const std::string& name, std::uint64_t size) const {
    HANDLE file = CreateFileW(Wide(PathOf(name)).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("can't open", PathOf(name));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool extended = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!extended) Fail("can't extend", PathOf(name));
}

std::uint64_t ScratchFolder::WriteTime(const std::string& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(PathOf(name)).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void ScratchFolder::SetWriteTime(const std::string& name, std::uint64_t ticks) const {
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileW(Wide(PathOf(name)).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool ok = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &time);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) Fail("can't set the time of", PathOf(name));
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
