#include "platform/CoarseSteadyClock.h"

#include <windows.h>

namespace dbcopy {

// Milliseconds since the system started, advanced at each timer tick.
std::chrono::steady_clock::time_point coarseSteadyNow() noexcept {
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(GetTickCount64())));
}

}  // namespace dbcopy
