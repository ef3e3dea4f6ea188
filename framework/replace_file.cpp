#include "framework/replace_file.h"

#include <windows.h>

#include <algorithm>

#include "framework/file.h"

namespace {

// Deletes the temporary file unless it has been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path(std::move(path)) {}
    ~TemporaryFile() { DeleteFileA(path.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& Path() const { return path; }

private:
    std::string path;
};

// Opening the target for writing (without cutting it) is the one test that asks the
// platform everything at once: attributes, sharing, access rights.
bool CanWrite(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    CFile probe;
    return probe.Open(path, CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary);
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size) {
    if (!CanWrite(path)) return false;
    TemporaryFile temporary(path + ".tmp");
    CFile file;
    if (!file.Open(temporary.Path(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive |
                                         CFile::typeBinary))
        return false;
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
        CFile::Replace(temporary.Path(), path);
    } catch (const CFileException& error) {
        // The user knows the file they save, not our temporary one.
        throw CFileException(path, error.Operation(), error.OsError());
    }
    return true;
}
