#pragma once

#include <functional>
#include <memory>

namespace engine {
class DbServer;
}

namespace dbcopy {

class EventYield;
class FileProbe;
class ImportForm;
class ProgressLog;

// Makes the engine server; called at the first database opening of the first run.
using ServerFactory = std::function<std::shared_ptr<engine::DbServer>()>;

// The whole copy of one database into another, driven by the window's fields.
class ImportRun {
public:
    ImportRun(ImportForm& form, ProgressLog& log, EventYield& yield, FileProbe& files,
              ServerFactory createServer);
    ~ImportRun();

    // Runs one import; reports every step, skip and error in the log and always returns normally.
    void RunImport();

private:
    ImportForm& m_form;
    ProgressLog& m_log;
    EventYield& m_yield;
    FileProbe& m_files;
    ServerFactory m_createServer;
    std::shared_ptr<engine::DbServer> m_server;  // kept from the first opening until destruction
};

}  // namespace dbcopy
