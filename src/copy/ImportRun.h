#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "copy/RunEvents.h"

namespace engine {
class DbServer;
}

namespace dbcopy {

class ErrorReport;
class RecordYield;
class FileProbe;
class ImportForm;
class ProgressLog;
class RunLog;

// Makes the engine server; called at the first database opening of the first run.
using ServerFactory = std::function<std::shared_ptr<engine::DbServer>()>;

// The whole copy of one database into another, driven by the window's fields.
class ImportRun {
public:
    ImportRun(ImportForm& form, ProgressLog& log, RecordYield& yield, FileProbe& files,
              ServerFactory createServer);
    ~ImportRun();

    // Runs one import; reports every step, skip and error in the log and always returns normally.
    // Refuses, with one line and before anything is opened, a target that is the source file.
    // Tells every observer what happens; a pending cancel request is dropped when it returns.
    void RunImport();

    // Adds an observer of every later run; it must outlive them. Observers added first hear
    // each event first.
    void addObserver(RunObserver& observer) { m_events.add(observer); }

    // Asks the run under way to stop at the next record; the indexes are still rebuilt.
    // Safe from another thread.
    void requestCancel() noexcept { m_cancel.store(true); }

    // The flag behind requestCancel, for a signal handler: storing true into it asks the same.
    std::atomic<bool>& cancelFlag() noexcept { return m_cancel; }

private:
    // Writes the refusal line and returns true when source and target paths name one file.
    bool refuseSameFile(RunLog& log);

    // The engine server, made by the factory when there is none yet. Throws what the factory
    // throws, or engine::Error (codes::NoServer) when it gives no server.
    engine::DbServer& server();

    // The run's error handler: the user-name hint when txtDestUser is empty, then the two
    // error report lines. Failures of the log pass to the caller.
    void reportFailure(const ErrorReport& error, RunLog& log);

    ImportForm& m_form;
    ProgressLog& m_log;
    RecordYield& m_yield;
    FileProbe& m_files;
    ServerFactory m_createServer;
    std::shared_ptr<engine::DbServer> m_server;  // kept from the first opening until destruction
    RunEvents m_events;
    std::atomic<bool> m_cancel{false};
    static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler sets the flag");
};

}  // namespace dbcopy
