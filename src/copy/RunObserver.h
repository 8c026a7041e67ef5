#pragma once

#include <cstdint>
#include <string>

namespace dbcopy {

// An error as a run reports it: the signed 32-bit code and the German description.
struct RunError {
    std::int32_t code = 0;
    std::string description;
};

// What a log line reports, given where the line is written: most lines tell how the run goes,
// the others of a fault.
enum class LineKind {
    Plain,
    ErrorReport,  // the code line or the description line of an error report
    LoginHint,    // the hint to give the target's user name, before a run's error report
    CheckFailed,  // a table's record count differs from the expected one
    Refusal,      // the run refused to start
};

// What a run knows about a source table when its copy begins.
struct TableStart {
    std::string name;
    std::string displayName;
    std::int32_t sourceRecords = 0;  // the source's RecordCount; -1 when it cannot be read
    std::int32_t targetBefore = 0;   // the target's RecordCount; -1 when it cannot be read
};

// The target's record count after a table's copy, against what the copy leads one to expect.
struct TableCheck {
    std::int32_t expected = 0;  // count before the copy plus the records copied
    std::int32_t actual = 0;    // the target's RecordCount; -1 when it cannot be read
    bool compared = false;      // false when the copy failed, so no count was expected
};

// One index of the target as the rebuild names it.
struct IndexName {
    std::string table;
    std::string index;
};

// Receives what happens in one import run, in the order it happens. Every function does nothing
// unless overridden; none may throw. Table events refer to the table last started.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    virtual void runStarted(const std::string& /*source*/, const std::string& /*target*/) {}
    // Right after the source is opened: the records of all its tables (the RecordCount of each
    // that can be read), the total the copy works towards.
    virtual void sourceOpened(std::int64_t /*records*/) {}
    // Each log line, after the pane.
    virtual void lineWritten(const std::string& /*line*/, LineKind /*kind*/) {}
    virtual void targetCreated() {}
    virtual void targetEmptied() {}
    virtual void tableStarted(const TableStart& /*table*/) {}
    virtual void fieldSkipped(const std::string& /*field*/) {}
    virtual void progress(std::int32_t /*copied*/) {}  // at each progress line
    virtual void tableFinished(std::int32_t /*copied*/) {}
    virtual void tableInterrupted(std::int32_t /*copied*/) {}  // stopped by a cancel request
    virtual void tableFailed(const RunError& /*error*/) {}
    virtual void tableChecked(const TableCheck& /*check*/) {}  // after finished, failed or stopped
    virtual void tableSkipped(const std::string& /*name*/) {}  // missing in the target
    virtual void tableNotReached(const std::string& /*name*/, const std::string& /*display*/) {}
    virtual void rebuildStarted() {}  // the index rebuild begins; the copy is over
    virtual void indexRebuilt(const IndexName& /*index*/) {}
    virtual void indexFailed(const IndexName& /*index*/, const RunError& /*error*/) {}
    virtual void runFinished() {}
    virtual void runFailed(const RunError& /*error*/) {}
    virtual void runCancelled() {}
};

}  // namespace dbcopy
