// Writing a file whole without ever leaving it half-written. Paths are UTF-8.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// What stopped WriteFileReplacing before it wrote anything.
enum class ReplaceRefusal {
    None,
    // `path` can't be written (read-only, in use by another program, no access), or no
    // file can be made beside it.
    Target,
    // The backup can't be made: the file of that name is in use by another program,
    // read-only or a folder.
    Backup,
};

// Makes `size` bytes the new contents of `path`: writes them to a file beside it,
// forces them to the disk, then moves that file over `path`, keeping the file that
// `path` was as `backupPath` (replacing an earlier backup). With no file at `path`
// yet, or an empty `backupPath`, no backup is made.
// Returns the refusal, having changed nothing, when it can't begin; *osError then
// holds the platform's reason. Throws CFileException naming `path` when writing fails
// after that; `path` then keeps its previous contents. No temporary file is left
// behind either way.
ReplaceRefusal WriteFileReplacing(const std::string& path, const std::string& backupPath,
                                  const void* data, std::size_t size, DWORD* osError = nullptr);
