#include "test_folder.h"

#include <windows.h>

#include <stdexcept>

namespace e2e {

namespace {

std::runtime_error FileError(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " " + path + " (error " + std::to_string(GetLastError()) +
                              ")");
}

void DeleteFilesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            std::string file = folder + "\\" + found.cFileName;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void CreateFolders(const std::string& path) {
    // Create every missing folder along the path, from the drive down.
    for (std::size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            throw FileError("can't create the folder", part);
        }
        if (slash == std::string::npos) break;
    }
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

TestFolder::TestFolder(std::string folderPath) : path(std::move(folderPath)) {
    DeleteFilesIn(path);
    CreateFolders(path);
}

void TestFolder::CopyIn(const std::string& sourcePath, const std::string& name) {
    if (!CopyFileA(sourcePath.c_str(), PathOf(name).c_str(), FALSE)) {
        throw FileError("can't copy " + sourcePath + " to", PathOf(name));
    }
}

void TestFolder::Write(const std::string& name, const std::string& bytes) {
    HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw FileError("can't create", PathOf(name));
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) throw FileError("can't write", PathOf(name));
}

std::optional<std::string> TestFolder::Read(const std::string& name) const {
    HANDLE file = CreateFileA(PathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::nullopt;
        throw FileError("can't open", PathOf(name));
    }
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    if (!ok) throw FileError("can't read", PathOf(name));
    return bytes;
}

std::uint64_t TestFolder::WriteTime(const std::string& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(PathOf(name).c_str(), GetFileExInfoStandard, &data)) {
        throw FileError("can't read the time of", PathOf(name));
    }
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

void TestFolder::SetWriteTime(const std::string& name, std::uint64_t ticks) {
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    HANDLE file = CreateFileA(PathOf(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &time);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) throw FileError("can't set the time of", PathOf(name));
}

void TestFolder::Remove() {
    DeleteFilesIn(path);
    RemoveDirectoryA(path.c_str());
}

}  // namespace e2e
