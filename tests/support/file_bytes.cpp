#include "tests/support/file_bytes.h"

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (!ReadFileInChunks(path, 64 * 1024, [&bytes](const char* chunk, std::size_t size) {
            bytes.append(chunk, size);
        }))
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
