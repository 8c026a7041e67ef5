#include "platform/CoarseSteadyClock.h"

#include <time.h>

namespace dbcopy {

// The coarse form of CLOCK_MONOTONIC, the steady clock's own.
std::chrono::steady_clock::time_point coarseSteadyNow() noexcept {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec)));
}

}  // namespace dbcopy
