#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Fields;
class Indexes;

// One table with its cursor and the record under construction. "May raise an earlier record's
// failure": a record queued in a bulk load failed on the writer (see the head of DbServer.h).
class Table : public Object {
public:
    // The flags value every caller passes to MoveFirst, Move and Update.
    static constexpr std::int32_t kCursorFlags = 32;

    virtual std::string Name() = 0;
    virtual std::string DisplayName(std::int32_t reserved) = 0;
    virtual std::shared_ptr<engine::Fields> Fields() = 0;
    virtual std::shared_ptr<engine::Indexes> Indexes() = 0;

    // O(1) once counted. May raise an earlier record's failure.
    virtual std::int32_t RecordCount() = 0;

    // Cursor over the active index's order, or insertion order without one. Each may raise an
    // earlier record's failure; Move that reaches the end of the table, one of any database
    // of the server.
    virtual bool Eof() = 0;  // true once past the last record; at once for an empty table
    virtual void MoveFirst(std::int32_t flags) = 0;
    virtual void Move(std::int32_t rows, std::int32_t flags) = 0;

    // Adding a record: AddNew(NewRecordBuffer(0)), set the field values, Update(flags).
    // A record begun and never stored is discarded; Update without AddNew is NoNewRecord.
    // Update may raise an earlier record's failure; the record begun is not stored then.
    virtual Variant NewRecordBuffer(std::int32_t reserved) = 0;
    virtual void AddNew(const Variant& buffer) = 0;
    virtual void Update(std::int32_t flags) = 0;

    // May raise an earlier record's failure.
    virtual void DeleteAllRecords() = 0;
};

}  // namespace engine
