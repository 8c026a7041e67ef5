#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Fields;
class Indexes;

// One table with its cursor and the record under construction.
class Table : public Object {
public:
    // The flags value every caller passes to MoveFirst, Move and Update.
    static constexpr std::int32_t kCursorFlags = 32;

    virtual std::string Name() = 0;
    virtual std::string DisplayName(std::int32_t reserved) = 0;
    virtual std::shared_ptr<engine::Fields> Fields() = 0;
    virtual std::shared_ptr<engine::Indexes> Indexes() = 0;

    virtual std::int32_t RecordCount() = 0;  // O(1)

    // Cursor over the active index's order, or insertion order without one.
    virtual bool Eof() = 0;  // true once past the last record; at once for an empty table
    virtual void MoveFirst(std::int32_t flags) = 0;
    virtual void Move(std::int32_t rows, std::int32_t flags) = 0;

    // Adding a record: AddNew(NewRecordBuffer(0)), set the field values, Update(flags).
    // A record begun and never stored is discarded; Update without AddNew is NoNewRecord.
    virtual Variant NewRecordBuffer(std::int32_t reserved) = 0;
    virtual void AddNew(const Variant& buffer) = 0;
    virtual void Update(std::int32_t flags) = 0;

    virtual void DeleteAllRecords() = 0;
};

}  // namespace engine
