// Fault injection for CFile, so tests can make any file operation fail. CFile asks
// TakeFileFault before each operation. The program's answer is always "go ahead"
// (no_file_faults.cpp); test programs link the injection (tests/gui/file_faults.cpp).
#pragma once

#include <windows.h>

#include <string>

enum class FileOperation { Open, Length, Read, Write, Flush, Close, Replace };

// The `nth` matching call of `operation` from now on (1 = the next one) fails with
// `error`; with nth = 0 every matching call fails. A call matches when its path ends
// with `pathSuffix` (case-insensitively); an empty suffix matches every path. For
// Replace the path is the target's.
void InjectFileFault(FileOperation operation, int nth, std::string pathSuffix = "",
                     DWORD error = ERROR_DISK_FULL);
void ClearFileFaults();

// For CFile: the error to fail this call with, or 0 to go ahead.
DWORD TakeFileFault(FileOperation operation, const std::string& path);
