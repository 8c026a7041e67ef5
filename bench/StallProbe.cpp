// Measures how long this machine keeps a waiting thread from running, apart from any program of
// ours: while busy threads keep the processors occupied, a thread that sleeps 1 ms at a time
// notes the longest time between two of its wake-ups, and the time it ran in between.
//
//   stall_probe [--busy N] [--seconds S]
//
// A gap far above a few milliseconds with well under a millisecond run in it is time the thread
// was ready but the machine (a virtual machine's host) gave it no processor; an import's
// event-loop gap of the same size at the same time is the machine's, not the import's.

#include "ThreadCpuTime.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kNap{1};
constexpr double kCountedGapMs = 50;  // the event-loop gap the import must stay below

struct Gaps {
    double longestMs = 0;
    double ranInLongestMs = 0;
    int overCountedGap = 0;
};

Gaps watchWakeUps(std::chrono::seconds duration) {
    Gaps gaps;
    const auto end = Clock::now() + duration;
    auto last = Clock::now();
    double lastCpu = bench::threadCpuMilliseconds();
    while (last < end) {
        std::this_thread::sleep_for(kNap);
        const auto now = Clock::now();
        const double cpu = bench::threadCpuMilliseconds();
        const double gapMs = std::chrono::duration<double, std::milli>(now - last).count();
        if (gapMs > kCountedGapMs) ++gaps.overCountedGap;
        if (gapMs > gaps.longestMs) gaps = {gapMs, cpu - lastCpu, gaps.overCountedGap};
        last = now;
        lastCpu = cpu;
    }
    return gaps;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"How long this machine keeps a waiting thread from running"};
    unsigned busy = std::max(1U, std::thread::hardware_concurrency());
    int seconds = 10;
    cli.add_option("--busy", busy, "threads that keep the processors occupied");
    cli.add_option("--seconds", seconds, "how long to watch")->check(CLI::PositiveNumber);
    CLI11_PARSE(cli, argc, argv);

    std::atomic<bool> stop = false;
    std::vector<std::thread> spinners;
    for (unsigned i = 0; i < busy; ++i) {
        spinners.emplace_back([&stop] {
            while (!stop.load(std::memory_order_relaxed)) {
            }
        });
    }
    const Gaps gaps = watchWakeUps(std::chrono::seconds(seconds));
    stop = true;
    for (auto& spinner : spinners) spinner.join();

    std::printf("machine_busy_threads=%u\n", busy);
    std::printf("machine_longest_wake_up_gap_ms=%.1f\n", gaps.longestMs);
    std::printf("machine_ran_in_longest_gap_ms=%.1f\n", gaps.ranInLongestMs);
    std::printf("machine_wake_up_gaps_over_50_ms=%d\n", gaps.overCountedGap);
    return 0;
}
