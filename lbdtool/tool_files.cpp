#include "lbdtool/tool_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "lbdtool/system.h"

namespace {

std::string ErrorText(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file) {
        reason = ErrorText(errno);
        return false;
    }
    bytes.clear();
    char chunk[64 * 1024];
    std::size_t read;
    errno = 0;
    while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, read);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) reason = ErrorText(error);
    return !failed;
}

bool WriteFileInPlace(const std::string& path, const std::string& bytes, std::string& reason) {
    const std::string temporary = path + ".lbdtool-new";
    std::FILE* file = OpenFile(temporary, "wb");
    if (!file) {
        reason = "can't make a file beside it: " + ErrorText(errno);
        return false;
    }
    errno = 0;
    // On the disk before it is moved into place: after a power cut, the move could
    // otherwise be there without the bytes.
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                   std::fflush(file) == 0 && FlushToDisk(file);
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        reason = ErrorText(error);
    } else if (MoveFileOver(temporary, path, path + ".bak", reason)) {
        return true;
    }
    RemoveFile(temporary);
    return false;
}
