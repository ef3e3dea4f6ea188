// Holds a window open so that the prefix's wineserver, and the services Wine
// starts with it, stay up between the test processes that CTest launches. A
// message-only window: the end of a session (wineboot --end-session) asks every
// top-level window, and this one, which never answers, would hold it up.
#include <windows.h>

#include <cstdio>

int main() {
    CreateWindowExA(0, "STATIC", "lorebinder wine keepalive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    // The server and its services are up now: tools/session.sh waits for this line.
    std::puts("ready");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
