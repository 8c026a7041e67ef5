#pragma once

#include <time.h>

namespace bench {

// The time the calling thread has run, in milliseconds. On a virtual machine it leaves out the
// time the host kept the thread's processor from running.
inline double threadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

}  // namespace bench
