// The files dropped onto a window that accepts them (WS_EX_ACCEPTFILES), read from the
// documented block behind the message's handle: the shell's own functions for it would
// make the program import one more system library.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The dropped files' paths (UTF-8), in order; then the block is freed, as DragFinish
// frees it. A block that breaks off gives the names it held whole before that.
std::vector<std::string> TakeDroppedFiles(HANDLE drop);
