#pragma once

#include <functional>
#include <memory>

namespace engine {
class DbServer;
}

namespace dbcopy {

class ErrorReport;
class RecordYield;
class FileProbe;
class ImportForm;
class ProgressLog;

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
    void RunImport();

private:
    // Writes the refusal line and returns true when source and target paths name one file.
    bool refuseSameFile();

    // The engine server, made by the factory when there is none yet. Throws what the factory
    // throws, or engine::Error (codes::NoServer) when it gives no server.
    engine::DbServer& server();

    // The run's error handler: the user-name hint when txtDestUser is empty, then the two
    // error report lines. Failures of the log pass to the caller.
    void reportFailure(const ErrorReport& error);

    ImportForm& m_form;
    ProgressLog& m_log;
    RecordYield& m_yield;
    FileProbe& m_files;
    ServerFactory m_createServer;
    std::shared_ptr<engine::DbServer> m_server;  // kept from the first opening until destruction
};

}  // namespace dbcopy
