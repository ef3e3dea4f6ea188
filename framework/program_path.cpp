#include "framework/program_path.h"

#include <windows.h>

#include <vector>

#include "framework/wide_text.h"

namespace {

bool overridden = false;
std::optional<std::string> overridePath;

}  // namespace

std::optional<std::string> GetProgramPath(size_t maxChars) {
    if (overridden) return overridePath;
    // The wide form: the ANSI one turns a folder named outside the code page into a
    // path that doesn't exist.
    std::vector<wchar_t> buffer(maxChars);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    // A length that fills the buffer means the path was cut short.
    if (length == 0 || length >= buffer.size()) return std::nullopt;
    return Utf8FromWide(std::wstring_view(buffer.data(), length));
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
