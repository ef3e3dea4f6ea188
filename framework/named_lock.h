// CNamedLock: a name that one process at a time can hold, so that a second copy of the
// program can tell that the first one runs. The platform lets go of it when the
// holder ends in any way, killed or crashed included.
#pragma once

#include <windows.h>

#include <string>

class CNamedLock {
public:
    CNamedLock() = default;
    ~CNamedLock() { Release(); }
    CNamedLock(const CNamedLock&) = delete;
    CNamedLock& operator=(const CNamedLock&) = delete;

    // Takes the name, unless someone holds it already (false then, as when the platform
    // refuses it). `name` may not hold a backslash.
    bool Take(const std::string& name);
    bool IsHeld() const { return handle != nullptr; }
    void Release();

private:
    HANDLE handle = nullptr;
};
