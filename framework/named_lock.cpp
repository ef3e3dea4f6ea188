#include "framework/named_lock.h"

// A mutex that nobody waits on: only whether its name exists counts, and the name goes
// with the last handle to it.
bool CNamedLock::Take(const std::string& name) {
    Release();
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (!mutex) return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    handle = mutex;
    return true;
}

void CNamedLock::Release() {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}
