#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <thread>

#include "vdb/CancelRequest.h"
#include "vdb/SignalCancel.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {

const std::string kPendingNote = "vdb: Der Import wird bereits abgebrochen.\n";
const std::string kRebuildNote =
    "vdb: Die Indizes werden aufgebaut; der Abbruch wird ignoriert, damit die Zieldatenbank "
    "vollständig bleibt.\n";

std::string noteOf(const char* note) {
    return note ? note : "";
}

TEST(CancelRequest, FirstRequestCancelsQuietlyLaterOnesAreNotedNoneAfterTheRun) {
    std::atomic<bool> cancel{false};
    vdb::armCancelRequests(cancel);
    EXPECT_EQ(noteOf(vdb::requestCancel()), "");
    EXPECT_TRUE(cancel.load());
    EXPECT_EQ(noteOf(vdb::requestCancel()), kPendingNote);
    vdb::disarmCancelRequests();

    std::atomic<bool> later{false};
    EXPECT_EQ(noteOf(vdb::requestCancel()), "");  // no run: nothing touched
    vdb::armCancelRequests(later);
    vdb::cancelRequestsIgnored();
    EXPECT_EQ(noteOf(vdb::requestCancel()), kRebuildNote);
    EXPECT_FALSE(later.load());
    vdb::disarmCancelRequests();
    vdb::waitUntilDisarmed();  // returns at once
}

#ifdef _WIN32

// Ctrl+C through the console; the handler runs on a thread of its own.
TEST(SignalCancel, ConsoleInterruptReachesTheRun) {
    std::atomic<bool> cancel{false};
    vdb::SignalCancel signals(cancel);
    if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) GTEST_SKIP() << "no console to send Ctrl+C";
    cancel.wait(false);
    EXPECT_TRUE(cancel.load());
}

TEST(SignalCancel, SignalsWhileRunsComeAndGo_NeedsPosixSignals) {
    GTEST_SKIP() << "sends POSIX signals from another thread";
}

#else

std::atomic<int> g_previousHandlerCalls{0};

void countCall(int) {
    g_previousHandlerCalls.fetch_add(1);
}

// Puts a counting SIGINT handler in place for the test and the old one back afterwards.
class CountingInterrupt : public testing::Test {
protected:
    void SetUp() override {
        g_previousHandlerCalls.store(0);
        m_old = std::signal(SIGINT, countCall);
    }
    void TearDown() override { std::signal(SIGINT, m_old); }

private:
    void (*m_old)(int) = nullptr;
};

TEST_F(CountingInterrupt, InterruptReachesTheRunAndThePreviousHandlerAfterwards) {
    std::atomic<bool> cancel{false};
    {
        vdb::SignalCancel signals(cancel);
        std::raise(SIGINT);
        EXPECT_TRUE(cancel.load());
        EXPECT_EQ(g_previousHandlerCalls.load(), 0);
    }
    std::raise(SIGINT);
    EXPECT_EQ(g_previousHandlerCalls.load(), 1);
}

// Signals from another thread while runs begin and end: none may reach a run that is gone.
TEST_F(CountingInterrupt, SignalsWhileRunsComeAndGoNeverTouchAnEndedRun) {
    std::atomic<bool> stop{false};
    std::thread sender([&stop] {
        while (!stop.load()) ::kill(::getpid(), SIGINT);
    });
    for (int run = 0; run < 2000; ++run) {
        std::atomic<bool> cancel{false};
        vdb::SignalCancel signals(cancel);
    }
    stop.store(true);
    sender.join();
    SUCCEED();
}

#endif

}  // namespace
