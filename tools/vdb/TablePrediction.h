#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sqlite/SqliteEngine.h"
#include "engine/sqlite/ValueProbe.h"

namespace engine {
class Table;
}

namespace vdb {

// A record of the copy as a report names it.
struct RecordPlace {
    std::int64_t position = 0;  // 1-based, in the order the copy reads the source
    std::string id;             // the value of the source field ID as shown; empty without one
};

// The values of one source field that its target field refuses for one reason.
struct RefusedValues {
    std::string field;                 // the source field's name
    engine::sqlite::FieldSpec target;  // the target field, for its type and size
    engine::sqlite::Refusal reason = engine::sqlite::Refusal::None;
    std::int64_t count = 0;
    RecordPlace first;
};

// The copied records whose key a unique index of the target would already hold.
struct DuplicateKeys {
    std::string index;
    std::int64_t count = 0;  // source records whose key is already in the index
    RecordPlace first;
    std::int64_t inTarget = 0;  // target records that repeat a key of another target record
};

// What the copy of one source table into its target table would do.
struct TablePrediction {
    std::vector<std::string> skippedFields;  // source fields the target lacks, in source order
    std::vector<RefusedValues> refused;      // by field in source order, then by reason
    std::vector<DuplicateKeys> duplicates;   // unique indexes with duplicates, in index order
};

// Predicts the copy of pSource into target without writing anything: matches the fields by
// name as the copy does, activates the source index the copy would (TableCopy::ActivateIndex),
// reads every source record once in that order and tries each value on its target field with
// the engine's own conversion. Keys of the unique indexes of target are gathered in hash sets,
// seeded with the target's own keys unless targetEmptied. Throws engine::Error.
TablePrediction predictTable(const std::shared_ptr<engine::Table>& pSource, engine::Table& target,
                             const engine::sqlite::TableSpec& targetSchema, bool targetEmptied);

}  // namespace vdb
