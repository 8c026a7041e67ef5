#include "platform/ParentConsole.h"

#include <windows.h>

#include <cstdio>

namespace dbcopy {

void useParentConsoleForOutput() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // std::cout writes through C's stdout, which now leads to the console.
    std::freopen("CONOUT$", "w", stdout);
}

}  // namespace dbcopy
