#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "copy/RunObserver.h"

namespace engine {
class Database;
class DbServer;
class Index;
class Table;
class Tables;
}  // namespace engine

namespace dbcopy {

class FileProbe;
class ImportForm;
class RunLog;
class TableCopy;
struct TableOutcome;

// One import run's steps and the engine references it holds while they run.
class ImportSession {
public:
    // Gives the engine server, making it on first use; throws when it cannot be made.
    using ServerAccess = std::function<engine::DbServer&()>;

    // log's observer receives the run's events; cancel stops the copy at the next record.
    ImportSession(ImportForm& form, RunLog& log, TableCopy& tableCopy, FileProbe& files,
                  ServerAccess server, const std::atomic<bool>& cancel);

    // Releases what is still held: current index, current table, target, then source.
    ~ImportSession();

    ImportSession(const ImportSession&) = delete;
    ImportSession& operator=(const ImportSession&) = delete;

    // Opens the source, creates the target when no file is at its path, opens it, empties it on
    // request, prepares and reopens it, copies every source table into its namesake, rebuilds
    // every target index and closes both, writing each step to the log. A missing target table
    // met inside one of the three table loops is reported and skipped; any other error is
    // thrown, with the references still held until destruction. After each table copy that
    // ended normally, a target count other than the count before plus the records copied is
    // reported with one extra line. A unique index that cannot be rebuilt because its records hold
    // a key twice is reported like a failed table and the rebuild goes on. A cancel request met
    // during the copy stops it there; the indexes are still rebuilt, and the last line then says
    // that the import was cancelled.
    void run();

private:
    void openSource();
    std::int64_t countSourceRecords() noexcept;
    void createTargetIfMissing();
    bool targetFileExists();
    void openTarget();
    std::shared_ptr<engine::Database> openTargetDatabase();
    void emptyTarget();
    void prepareKeyStorage();
    void reopenTarget();
    void copyTables();
    void copyCurrentTable();
    TableStart describeCurrentTable(const std::string& name, engine::Table& dest);
    void checkTargetCount(const std::string& name, engine::Table& dest, std::int32_t before,
                          const TableOutcome& outcome);
    void reportTablesNotReached(engine::Tables& tables, std::int32_t from);
    void rebuildIndexes();
    void rebuildCurrentTableIndexes();
    // Rebuilds the current index. A unique index whose records hold a key twice is reported with
    // the two error report lines and stays suspended, and its error is returned, so that the
    // loop goes on with the next index; any other error is thrown.
    std::optional<RunError> rebuildCurrentIndex();
    void writeIndexLine();
    void close();

    // Runs one step of a table loop. An engine error NoSuchTable from it is reported with the
    // skip line naming the current table, and the loop goes on; any other error is thrown, as
    // is any error of the skip line itself. Returns the error when the step was skipped.
    std::optional<RunError> continueAfterMissingTable(const std::function<void()>& step);

    ImportForm& m_form;
    RunLog& m_log;
    TableCopy& m_tableCopy;
    FileProbe& m_files;
    ServerAccess m_server;
    const std::atomic<bool>& m_cancel;
    bool m_cancelled = false;  // the request stopped a table or kept tables from being copied

    std::shared_ptr<engine::Database> m_source;
    std::shared_ptr<engine::Database> m_target;
    std::shared_ptr<engine::Table> m_table;  // current table of the three table loops
    std::shared_ptr<engine::Index> m_index;  // current index of the index loop
};

}  // namespace dbcopy
