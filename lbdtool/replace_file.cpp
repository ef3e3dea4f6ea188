#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "lbdtool/tool_files.h"

bool MoveFileOver(const std::string& from, const std::string& to, std::string& reason) {
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
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}
