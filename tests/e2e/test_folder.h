#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace e2e {

// The path under which Wine shows the program a Unix path of the build (drive Z:).
std::string WindowsPath(const std::string& unixPath);

// A folder of the test's own, emptied on creation: the program's directory in
// a black-box story, holding a copy of lorebinder.exe and the story's files.
class TestFolder {
public:
    explicit TestFolder(std::string path);

    const std::string& Path() const { return path; }
    std::string PathOf(const std::string& name) const { return path + "\\" + name; }

    // Each of these fails the test (throws) when the file system refuses.
    void CopyIn(const std::string& sourcePath, const std::string& name);
    void Write(const std::string& name, const std::string& bytes);
    // The file's bytes, or nothing when it doesn't exist.
    std::optional<std::string> Read(const std::string& name) const;

    // The file's last-write time in FILETIME ticks, and a way to set it: a
    // story can then tell whether the program rewrote a file with equal bytes.
    std::uint64_t WriteTime(const std::string& name) const;
    void SetWriteTime(const std::string& name, std::uint64_t ticks);

    // Deletes the folder and its files; what can't be deleted stays.
    void Remove();

private:
    std::string path;
};

}  // namespace e2e
