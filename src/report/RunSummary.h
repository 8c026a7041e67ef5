#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "copy/RunObserver.h"
#include "verify/TableContent.h"

namespace dbcopy {

// What became of one source table in a run.
enum class TableStatus { Copied, Skipped, Failed, NotReached };

struct TableSummary {
    std::string name;
    std::string displayName;
    TableStatus status = TableStatus::NotReached;
    std::int32_t sourceRecords = 0;
    std::int32_t copied = 0;
    std::int32_t targetBefore = 0;
    std::int32_t targetAfter = 0;
    bool verified = false;     // the target's count after the copy is the one expected
    bool checkFailed = false;  // a count was compared and differed
    std::vector<std::string> skippedFields;
    std::optional<RunError> error;
    double seconds = 0;
    std::optional<TableContent> content;  // the value-by-value comparison's result, when made
};

struct IndexSummary {
    std::string table;
    std::string name;
    std::optional<RunError> error;  // none when the rebuild succeeded
    double seconds = 0;
};

// How a run ended as a whole; Running when it ended without saying so (its log failed).
enum class RunEnd { Running, Finished, Failed, Cancelled };

// The run's result as the summary table, the log file and the report give it.
enum class RunStatus { Ok, Partial, Failed, Cancelled };

struct RunSummary {
    std::string source;
    std::string target;
    std::chrono::system_clock::time_point started;
    std::chrono::system_clock::time_point finished;
    double seconds = 0;
    RunEnd end = RunEnd::Running;
    std::optional<RunError> error;
    bool targetCreated = false;
    bool targetEmptied = false;
    std::vector<TableSummary> tables;
    std::vector<IndexSummary> indexes;
    bool contentChecked = false;  // a value-by-value comparison followed the run

    // Records the comparison's result of each table by its name, and that one was made; a
    // comparison that failed before its end is recorded with the results it has.
    void setContent(const std::vector<TableContent>& results);

    // Ok when the run finished and every copied table was verified with no table or index
    // error; Partial when it finished otherwise; Failed when it ended early; Cancelled when a
    // cancel request stopped it. Tables missing in the target do not count against Ok. After a
    // value-by-value comparison, a copied table that it did not find "gleich" makes it Partial.
    RunStatus status() const;

    // The records copied in all tables together.
    std::int64_t recordsCopied() const;
};

}  // namespace dbcopy
