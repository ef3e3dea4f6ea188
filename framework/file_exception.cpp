#include "framework/file_exception.h"

#include "framework/wide_text.h"

CFileException::CFileException(const std::string& path, std::string operation, DWORD osError)
    : std::runtime_error("Couldn't " + operation + " the file \"" + path + "\":\n" +
                         SystemErrorText(osError)),
      operation(std::move(operation)),
      osError(osError) {}

std::string SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length && buffer ? Utf8FromWide(std::wstring_view(buffer, length)) : "";
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "Error " + std::to_string(error) + ".";
    return text;
}
