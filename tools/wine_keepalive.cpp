// Holds a window open so that the prefix's wineserver, and the services Wine
// starts with it, stay up between the test processes that CTest launches.
#include <windows.h>

#include <cstdio>

int main() {
    CreateWindowExA(0, "STATIC", "lorebinder wine keepalive", 0, 0, 0, 0, 0, nullptr, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    // The server and its services are up now: tools/session.sh waits for this line.
    std::puts("ready");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
