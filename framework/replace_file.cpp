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

ReplaceRefusal WriteFileReplacing(const std::string& path, const std::string& backupPath,
                                  const void* data, std::size_t size, DWORD* osError) {
    DWORD unused = 0;
    if (!osError) osError = &unused;
    *osError = 0;
    if (!CanWrite(path, osError)) return ReplaceRefusal::Target;
    // Only a file that is there gets a backup; checked first, as the platform's replace
    // would otherwise fail only after the new image had been written.
    const bool keepBackup = !backupPath.empty() && Exists(path);
    if (keepBackup && !CanWrite(backupPath, osError)) return ReplaceRefusal::Backup;

    TemporaryFile temporary(path + ".tmp");
    CFile file;
    if (!file.Open(temporary.Path(),
                   CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary,
                   osError))
        return ReplaceRefusal::Target;
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
        // The user knows the file they save, not our temporary one.
        throw CFileException(path, error.Operation(), error.OsError());
    }
    return ReplaceRefusal::None;
}
