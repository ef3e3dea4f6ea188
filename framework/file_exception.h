// CFileException: an input/output failure on a file that was opened, with the file's
// path and the platform's error code. The dialog's message dispatch reports it.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    // `operation` says what failed, as a verb: "read", "write", "replace"...
    CFileException(std::string path, std::string operation, DWORD osError);

    const std::string& Path() const { return path; }
    const std::string& Operation() const { return operation; }
    DWORD OsError() const { return osError; }
    // The message the user sees: the file, what failed and the platform's reason.
    std::string GetErrorMessage() const { return what(); }

private:
    std::string path;
    std::string operation;
    DWORD osError;
};

// The platform's text for an error code, without its trailing line break.
std::string SystemErrorText(DWORD error);

// Shows the exception's message in a stop-icon box.
void ReportFileException(const CFileException& error);
