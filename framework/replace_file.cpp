#include "framework/replace_file.h"

#include <algorithm>

#include "framework/file.h"
#include "framework/wide_text.h"

namespace {

// Deletes the temporary file unless it has been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path(std::move(path)) {}
    ~TemporaryFile() { DeleteFileW(WideFromUtf8(path).c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path; }

private:
    std::string path;
};

bool Exists(const std::string& path) {
    return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Opening an existing file for writing (without cutting it) is the one test that asks
// the platform everything at once: attributes, sharing, access rights, and whether it
// is a folder.
bool CanWrite(const std::string& path, DWORD* osError) {
    if (!Exists(path)) return true;
    CFile probe;
    return probe.Open(path, CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary, osError);
}

}  // namespace

FileWrite WriteFileReplacing(const std::string& path, const std::string& backupPath,
                             const void* data, std::size_t size) {
    FileWrite result;
    result.failure = FileWrite::Failure::Target;
    if (!CanWrite(path, &result.osError)) return result;
    // Only a file that is there gets a backup; checked first, as the platform's replace
    // would otherwise fail only after the new image had been written.
    const bool keepBackup = !backupPath.empty() && Exists(path);
    if (keepBackup && !CanWrite(backupPath, &result.osError)) {
        result.failure = FileWrite::Failure::Backup;
        return result;
    }

    TemporaryFile temporary(path + ".tmp");
    CFile file;
    if (!file.Open(temporary.Path(),
                   CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary,
                   &result.osError))
        return result;
    try {
        const char* bytes = static_cast<const char*>(data);
        // WriteFile takes at most 4 GiB - 1 at a time.
        for (std::size_t done = 0; done < size;) {
            UINT chunk = static_cast<UINT>(std::min<std::size_t>(size - done, 0x40000000));
            file.Write(bytes + done, chunk);
            done += chunk;
        }
        file.Flush();
        file.Close();
        CFile::Replace(temporary.Path(), path, keepBackup ? backupPath : std::string());
    } catch (const CFileException& error) {
        // Reported for the file the user knows, not for our temporary one.
        result.failure = FileWrite::Failure::Writing;
        result.osError = error.OsError();
        result.operation = error.Operation();
        return result;
    }
    return FileWrite();
}
