#pragma once

#include <atomic>
#include <chrono>
#include <functional>

struct sqlite3;

namespace engine::sqlite {

// Keeps the caller alive during one long engine call (emptying a table, building an index,
// folding the write-ahead log back): SQLite's progress handler on each connection of the
// server calls the caller's hook at most every kInterval. What the hook may do and what runs
// meanwhile: see the head of engine/DbServer.h; requireIdle is the refusal every engine call
// begins with. One object serves one server and its databases.
class KeepAlive {
public:
    using Hook = std::function<void()>;

    // The longest time between two calls of the hook during a long statement, give or take
    // the few thousand virtual machine steps between two looks at the clock.
    static constexpr std::chrono::milliseconds kInterval{10};
    // SQLite's virtual machine steps between two looks at the clock.
    static constexpr int kStepsPerCheck = 1000;

    // hook may be empty: then nothing is installed and every call is accepted.
    explicit KeepAlive(Hook hook = {});
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;

    // Installs the progress handler on db (nothing without a hook). The caller removes it
    // (detach) before this object goes away. Never throws.
    void attach(sqlite3* db) noexcept;
    static void detach(sqlite3* db) noexcept;

    // Throws engine::Error InvalidArgument while the hook runs; returns otherwise. Inline, as
    // every engine call begins with it.
    void requireIdle() const {
        if (m_yielding) refuseWhileYielding();
    }

    // Runs work on a thread of its own while the calling thread calls the hook every
    // kInterval. Without a hook, from inside the hook or on an engine thread, work runs on the
    // calling thread. Passes on what work throws.
    void runAside(const std::function<void()>& work);

    // Waits for another engine thread: calls ready with kInterval until it returns true (ready
    // waits at most that long for the other thread), calling the hook in between.
    void waitUntil(const std::function<bool(std::chrono::milliseconds)>& ready);

    // Marks the calling thread as one of the engine's own for its lifetime: SQLite's progress
    // handler never calls the hook there, and runAside runs work in place.
    static void markEngineThread() noexcept;
    static bool onEngineThread() noexcept;

private:
    [[noreturn]] static void refuseWhileYielding();
    static int onProgress(void* self) noexcept;
    // Calls the hook when kInterval has passed since it last returned.
    void yieldIfDue() noexcept;
    // An exception from the hook is swallowed: the engine's work goes on.
    void callHook() noexcept;

    Hook m_hook;
    std::atomic<bool> m_yielding = false;
    std::chrono::steady_clock::time_point m_lastReturn = std::chrono::steady_clock::now();
};

}  // namespace engine::sqlite
