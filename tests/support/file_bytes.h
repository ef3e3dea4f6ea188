// Whole files as bytes, for the tests, the benchmarks and the tools alike.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Hands the file's bytes to feed(const char* bytes, std::size_t size) in chunks of
// `chunkSize`, as the program reads a file. Returns false when it can't be opened or
// read to its end.
template <typename Feed>
bool ReadFileInChunks(const std::string& path, std::size_t chunkSize, Feed&& feed) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::vector<char> chunk(chunkSize);
    std::size_t read = 0;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) feed(chunk.data(), read);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

// The file's bytes; nullopt when it can't be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file's contents with `bytes`, creating it if need be. Returns false
// when that fails.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
