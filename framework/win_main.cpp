// The program's entry point. It lives apart from the framework library so that test
// programs, which have their own main, can link the framework.
#include <windows.h>

#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(instance);
}
