// The text of a file failure: CFileException, an input/output failure on a file that
// was opened, with the file's path and the platform's error code, and the platform's
// text for an error code. No window is needed for either (lbdtool uses them); showing
// them is framework/error_report's part.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    // `operation` says what failed, as a verb: "read", "write", "replace"...
    // `path` is UTF-8, as every path the program keeps.
    CFileException(const std::string& path, std::string operation, DWORD osError);

    const std::string& Operation() const { return operation; }
    DWORD OsError() const { return osError; }
    // The message the user sees (UTF-8): the file, what failed and the platform's reason.
    std::string GetErrorMessage() const { return what(); }

private:
    std::string operation;
    DWORD osError;
};

// The platform's text for an error code, in UTF-8, without its trailing line break.
std::string SystemErrorText(DWORD error);
