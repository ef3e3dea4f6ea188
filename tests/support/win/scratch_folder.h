// A folder of a test's or a run's own and the files in it. Every failure of the file
// system throws std::runtime_error naming the path and the platform's error code,
// which fails the test that met it.
// Paths and names are UTF-8, as the program's are, so a folder may have any name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScratchFolder {
public:
    // A fresh folder under the temporary directory, named after `purpose`.
    static ScratchFolder Fresh(const std::string& purpose);
    // The folder at `path`: made, with any folders above it, when missing, and
    // emptied of its files when not.
    static ScratchFolder At(const std::string& path);

    // Removes the folder and its files, unless Keep() was called.
    ~ScratchFolder();
    ScratchFolder(ScratchFolder&& other) noexcept;
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder& operator=(ScratchFolder&&) = delete;

    // Leaves the folder in place, for a person to look at what went wrong.
    void Keep() { kept = true; }
    // Removes the folder and its files now; what can't be removed stays.
    void Remove();

    const std::string& Path() const { return path; }
    std::string PathOf(const std::string& name) const { return path + "\\" + name; }

    void Write(const std::string& name, const std::string& bytes) const;
    // Adds `bytes` at the end of the file, as the game adds an entry to its journal.
    void Append(const std::string& name, const std::string& bytes) const;
    // Puts the file's bytes on the disk now, where files written long ago are.
    void Flush(const std::string& name) const;
    // The file's bytes; nullopt when there is no such file.
    std::optional<std::string> Read(const std::string& name) const;
    void CopyIn(const std::string& sourcePath, const std::string& name) const;
    // Removes the file, read-only or not, if it is there.
    void Delete(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> Files() const;
    void SetReadOnly(const std::string& name, bool readOnly) const;
    // Makes the file `size` bytes long, creating it if need be; what it gains reads as
    // zeros and takes no disk (a sparse file), so a test may make one of gigabytes.
    void Extend(const std::string& name, std::uint64_t size) const;

    // The file's last-write time in FILETIME ticks (0 when there is no such file), and
    // a way to set it: a test can then tell whether the program rewrote a file.
    std::uint64_t WriteTime(const std::string& name) const;
    void SetWriteTime(const std::string& name, std::uint64_t ticks) const;

private:
    explicit ScratchFolder(std::string path) : path(std::move(path)) {}

    std::string path;
    bool kept = false;
};

// The path under which Wine shows a program a Unix path (drive Z:).
std::string WindowsPath(const std::string& unixPath);
