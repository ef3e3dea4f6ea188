// Linux and other POSIX systems: paths and texts are bytes, passed on as given.
#include "lbdtool/system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "lbdtool/text_encoding.h"

const char kSystemLineEnd[] = "\n";

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

void RemoveFile(const std::string& path) {
    std::remove(path.c_str());
}

bool FlushToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to, const std::string& backup,
                  std::string& reason) {
    // A player who made the file read-only meant it to stay as it is; rename
    // would replace it all the same.
    std::error_code error;
    const auto status = std::filesystem::status(to, error);
    if (!error && std::filesystem::is_regular_file(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) ==
            std::filesystem::perms::none) {
        reason = "it is read-only";
        return false;
    }
    // The backup is a second name for the file being replaced (or a copy where the
    // folder can't have one), so `to` is never missing.
    if (!error && std::filesystem::is_regular_file(status)) {
        std::filesystem::remove(backup, error);
        std::filesystem::create_hard_link(to, backup, error);
        if (error) std::filesystem::copy_file(to, backup, error);
        if (error) {
            reason = "can't keep it as " + backup + ": " + error.message();
            return false;
        }
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    // The folder's new entries reach the disk too.
    const std::filesystem::path folder = std::filesystem::path(to).parent_path();
    const int handle = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (handle >= 0) {
        fsync(handle);
        close(handle);
    }
    return true;
}

bool AppendInSystemCodePage(std::u32string_view text, std::string& out) {
    for (char32_t c : text) AppendUtf8(c, out);
    return true;
}

namespace {

std::ostream& StreamOf(Stream stream) {
    return stream == Stream::Out ? std::cout : std::cerr;
}

}  // namespace

void WriteMessage(Stream stream, std::string_view utf8) {
    StreamOf(stream) << utf8;
}

void WriteText(Stream stream, std::string_view text) {
    StreamOf(stream) << text;
}
