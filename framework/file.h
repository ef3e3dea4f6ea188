// CFile: a file opened with the platform's handle. Opening reports failure by its
// result; after a successful open every input/output failure throws CFileException.
// Paths are UTF-8 and reach the platform's wide functions, so any folder name works.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/file_exception.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        shareExclusive = 0x0010,  // no other handle while ours is open
        // For reading: other programs may read, write, replace or delete the file while
        // our handle is open.
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,  // create the file, or cut it to zero length
        typeBinary = 0x8000,  // the only type: no line-end translation ever happens
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Returns false when the file can't be opened, with the platform's error code in
    // *osError when given. A read-only file never opens for writing, whoever we are.
    bool Open(const std::string& path, UINT flags, DWORD* osError = nullptr);
    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }

    std::uint64_t GetLength() const;
    // Moves to `position` bytes from the start.
    void Seek(std::uint64_t position);
    // Reads up to `count` bytes; returns how many were read (fewer only at the end).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Forces the written bytes to the disk.
    void Flush();
    void Close();

    // Moves `from` over `to`, replacing it. Without a `backup` name it only returns once
    // the move is on disk; with one, `to` must exist, and the platform's replace keeps the
    // file it was under that name, replacing an earlier one. On failure `to` is as it was.
    static void Replace(const std::string& from, const std::string& to,
                        const std::string& backup = std::string());
    // Deletes the file. True when it is gone, or was never there; otherwise false, with
    // the platform's error code in *osError when given.
    static bool Remove(const std::string& path, DWORD* osError = nullptr);

private:
    [[noreturn]] void Fail(const char* operation, DWORD error) const;

    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string path;
};

// A file as ReadWholeFile found it.
struct WholeFile {
    enum class Status { Read, Missing, Unopenable, TooLarge, Unreadable };
    Status status = Status::Missing;
    DWORD osError = 0;  // why it didn't open (Unopenable), or why a read failed (Unreadable)
    std::vector<std::uint8_t> bytes;  // for Read
};

// Opens `path` for itself alone and reads it whole, unless it is longer than `largest`.
WholeFile ReadWholeFile(const std::string& path, std::uint64_t largest);

// A file's length and last-write time (the platform's ticks); nullopt when it isn't there.
struct FileFacts {
    std::uint64_t length = 0;
    std::uint64_t writeTime = 0;
};
std::optional<FileFacts> LookUpFile(const std::string& path);

// Whether `path` names a folder.
bool IsFolder(const std::string& path);

// Whether both paths name one file, however each is spelled (case, short names, links):
// the same volume and the same file on it. False when either can't be looked at.
bool IsSameFile(const std::string& path, const std::string& other);

// Why `path` failed to open with `error`: the platform's text, or that it is a folder,
// where the platform only says "access denied".
std::string OpenFailureReason(const std::string& path, DWORD error);
inline constexpr char kIsFolderReason[] = "It is a folder, not a file.";
