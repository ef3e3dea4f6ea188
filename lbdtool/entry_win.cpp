// lbdtool's entry point on Windows: the wide arguments, since the ANSI ones turn a
// name outside the system code page into one that names no file.
#include <windows.h>

#include "framework/wide_text.h"
#include "lbdtool/system.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
    return LbdtoolMain(args);
}
