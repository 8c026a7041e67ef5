#pragma once

#include <functional>
#include <vector>

#include "verify/TableContent.h"

namespace engine {
class Database;
}

namespace dbcopy {

class RecordYield;

// Told of each table's result as soon as its comparison has ended.
using TableContentHandler = std::function<void(const TableContent&)>;

// Compares, value by value, every source table with its namesake in the target, in the source's
// table order, and returns one result per source table. Fields are matched by name as the copy
// matches them; the source is walked as the copy walks it (TableCopy::ActivateIndex), the
// target in the order its records were stored, from its last N records on, N being the source's
// record count. Each source value is converted for its target field by the engine's own write
// conversion and compared with the value the target holds, so that a number copied into a
// text field equals its text. Reads only: both databases may be opened read-only. Memory stays
// flat: the two tables are walked side by side. Calls yield.yieldPerRecord() after every record
// and onTable after every table. Throws engine::Error when a database cannot be read.
std::vector<TableContent> compareContent(engine::Database& source, engine::Database& target,
                                         RecordYield& yield,
                                         const TableContentHandler& onTable = {});

}  // namespace dbcopy
