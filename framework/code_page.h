// The system code page's answer to the portable text rules' question.
#pragma once

#include <windows.h>

// Whether `byte` starts a double-byte character in the system code page.
inline bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}
