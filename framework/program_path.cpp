#include "framework/program_path.h"

#include <windows.h>

#include <vector>

namespace {

bool overridden = false;
std::optional<std::string> overridePath;

}  // namespace

std::optional<std::string> GetProgramPath(size_t maxBytes) {
    if (overridden) return overridePath;
    std::vector<char> buffer(maxBytes);
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    // A length that fills the buffer means the path was cut short.
    if (length == 0 || length >= buffer.size()) return std::nullopt;
    return std::string(buffer.data(), length);
}

void SetProgramPathForTesting(std::optional<std::string> path) {
    overridden = true;
    overridePath = std::move(path);
}

void ResetProgramPathForTesting() {
    overridden = false;
    overridePath.reset();
}

std::string GetProgramName() {
    std::string path = GetProgramPath().value_or("");
    size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}
