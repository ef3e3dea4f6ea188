#include "framework/file_exception.h"

#include "framework/message_box.h"

namespace {

std::string Describe(const std::string& path, const std::string& operation, DWORD osError) {
    return "Couldn't " + operation + " the file \"" + path + "\":\n" + SystemErrorText(osError);
}

}  // namespace

CFileException::CFileException(std::string path, std::string operation, DWORD osError)
    : std::runtime_error(Describe(path, operation, osError)),
      path(std::move(path)),
      operation(std::move(operation)),
      osError(osError) {}

std::string SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length && buffer ? std::string(buffer, length) : std::string();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty()) text = "Error " + std::to_string(error) + ".";
    return text;
}

void ReportFileException(const CFileException& error) {
    AfxMessageBox(error.GetErrorMessage(), MB_OK | MB_ICONSTOP);
}
