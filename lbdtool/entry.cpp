// lbdtool's entry point where arguments are bytes, passed on as given.
#include "lbdtool/system.h"

int main(int argc, char** argv) {
    return LbdtoolMain(std::vector<std::string>(argv + 1, argv + argc));
}
