// The program's file faults: none. Alone in its file, so that a test program's
// injection takes its place at link time (see tests/gui/CMakeLists.txt).
#include "framework/file_faults.h"

DWORD TakeFileFault(FileOperation, const std::string&) {
    return 0;
}
