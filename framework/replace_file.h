// Writing a file whole without ever leaving it half-written. Paths are UTF-8.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// How WriteFileReplacing went.
struct FileWrite {
    enum class Failure {
        None,
        // Refused before anything was written: `path` can't be written (read-only, in use
        // by another program, no access), or no file can be made beside it.
        Target,
        // Refused before anything was written: the backup can't be made, as the file of
        // that name is in use by another program, read-only or a folder.
        Backup,
        // Writing, forcing to the disk or moving into place failed; `path` keeps its
        // previous contents.
        Writing,
    };
    Failure failure = Failure::None;
    DWORD osError = 0;      // the platform's reason for any failure
    std::string operation;  // for Writing, what failed: "write", "close", "replace"
    bool Done() const { return failure == Failure::None; }
};

// Makes `size` bytes the new contents of `path`: writes them to a file beside it,
// forces them to the disk, then moves that file over `path`, keeping the file that
// `path` was as `backupPath` (replacing an earlier backup). With no file at `path`
// yet, or an empty `backupPath`, no backup is made. Never throws a file failure: it is
// in the result, and no temporary file is left behind.
FileWrite WriteFileReplacing(const std::string& path, const std::string& backupPath,
                             const void* data, std::size_t size);
