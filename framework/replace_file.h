// Writing a file whole without ever leaving it half-written.
#pragma once

#include <cstddef>
#include <string>

// Makes `size` bytes the new contents of `path`: writes them to a file beside it,
// forces them to the disk, then moves that file over `path`.
// Returns false, having changed nothing, when `path` can't be written (read-only,
// in use by another program, no access) or no file can be made beside it.
// Throws CFileException naming `path` when writing fails after that; `path` then keeps
// its previous contents. No temporary file is left behind either way.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size);
