#include "framework/file_exception.h"

#include <new>

#include "framework/file.h"
#include "framework/message_box.h"

CFileException::CFileException(const std::string& path, std::string operation, DWORD osError)
    : std::runtime_error("Couldn't " + operation + " the file \"" + path + "\":\n" +
                         SystemErrorText(osError)),
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

std::string OpenFailureReason(const std::string& path, DWORD error) {
    return IsFolder(path) ? "It is a folder, not a file." : SystemErrorText(error);
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const CFileException& error) {
        return error.GetErrorMessage();
    } catch (const std::bad_alloc&) {
        return "Not enough memory to finish this.";
    } catch (const std::exception& error) {
        return std::string("Unexpected error: ") + error.what();
    } catch (...) {
        return "Unexpected error.";
    }
}

void ReportCurrentException() {
    AfxMessageBox(CurrentExceptionMessage(), MB_OK | MB_ICONSTOP);
}
