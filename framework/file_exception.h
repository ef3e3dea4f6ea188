// How failures reach the user: CFileException, an input/output failure on a file that
// was opened, with the file's path and the platform's error code; the platform's text
// for an error code; and the one message for whatever exception a handler lets out.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    // `operation` says what failed, as a verb: "read", "write", "replace"...
    CFileException(const std::string& path, std::string operation, DWORD osError);

    const std::string& Operation() const { return operation; }
    DWORD OsError() const { return osError; }
    // The message the user sees: the file, what failed and the platform's reason.
    std::string GetErrorMessage() const { return what(); }

private:
    std::string operation;
    DWORD osError;
};

// The platform's text for an error code, without its trailing line break.
std::string SystemErrorText(DWORD error);

// Why `path` failed to open with `error`: the platform's text, or that it is a folder,
// where the platform only says "access denied".
std::string OpenFailureReason(const std::string& path, DWORD error);

// The message for the exception being handled; call it only inside a catch block.
std::string CurrentExceptionMessage();

// Shows CurrentExceptionMessage in a stop-icon box. No exception may cross the
// platform's callbacks or leave the program unreported: the dialog procedure and the
// entry point catch everything and call this.
void ReportCurrentException();
