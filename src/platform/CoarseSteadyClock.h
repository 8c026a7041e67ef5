#pragma once

#include <chrono>

namespace dbcopy {

// The steady clock as the system keeps it from one timer tick to the next (a few milliseconds
// apart): read in a few nanoseconds where a precise reading costs tens, which counts when it is
// read for every record copied. For intervals of ten milliseconds and more.
std::chrono::steady_clock::time_point coarseSteadyNow() noexcept;

}  // namespace dbcopy
