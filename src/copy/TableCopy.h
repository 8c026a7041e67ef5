#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "copy/RecordCounter.h"
#include "copy/RunLog.h"
#include "engine/Variant.h"

namespace engine {
class Field;
class Table;
}  // namespace engine

namespace dbcopy {

class RecordYield;

// How one table copy ended and how many records the target stored.
struct TableOutcome {
    enum class End { Finished, Interrupted, Failed };
    End end = End::Finished;
    std::int32_t copied = 0;
};

// Copies the records of one source table into its namesake in the target, field by field for
// the fields both tables have, and reports each step in the progress log.
class TableCopy {
public:
    // A copy that writes through log, whose observer receives the table's events, and that
    // stops at the next record once cancel is set.
    TableCopy(RunLog& log, RecordYield& yield, const std::atomic<bool>& cancel);

    // Writes the start line, reports each source field the target lacks, activates a source
    // index, appends one target record per source record (a progress line after every 1000th)
    // and writes the final count. The first error of the start line or the record phase is
    // reported with the two error report lines and ends the call, which then returns normally;
    // only an error while writing that report is passed to the caller. A cancel request stops
    // the record loop before the next record; the final line then shows the records stored.
    // Returns how the copy ended and the records stored.
    TableOutcome CopyTable(std::shared_ptr<engine::Table> pSourceTable,
                           std::shared_ptr<engine::Table> pDestTable);

    // Makes the index "ID" the active index of pTable or, when that fails for any reason and the
    // table has indexes, the index at position 0. Never throws: when the fallback fails too, the
    // table is left without a newly activated index.
    static void ActivateIndex(std::shared_ptr<engine::Table> pTable);

private:
    // A source field whose name the target resolves, with that name ready as the lookup key.
    struct MatchedField {
        std::shared_ptr<engine::Field> source;
        engine::Variant key;
    };
    using MatchedFields = std::vector<MatchedField>;

    void writeStartLine(engine::Table& source);

    // The source fields the target has, in source order; writes a line for each one it lacks.
    // Ignores every error step by step; a source field collection that cannot be obtained or
    // enumerated gives an empty list. Never throws.
    MatchedFields matchFields(engine::Table& source, engine::Table& dest);
    void matchField(std::shared_ptr<engine::Field> field, engine::Table& dest,
                    MatchedFields& matched);

    // Returns true when a cancel request stopped the loop before the source's end.
    bool copyRecords(engine::Table& source, engine::Table& dest, const MatchedFields& matched,
                     RecordCounter& counter);
    static void copyRecord(engine::Table& dest, const MatchedFields& matched);
    void writeProgressLine(engine::Table& source, std::int32_t count);
    void writeFinalLine(engine::Table& source, std::int32_t count);

    RunLog& m_log;
    RecordYield& m_yield;
    const std::atomic<bool>& m_cancel;
};

}  // namespace dbcopy
