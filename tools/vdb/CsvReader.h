#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vdb {

// Reads CSV text (RFC 4180, UTF-8, CR LF or LF line ends, an optional byte order mark) record
// by record. A cell is either a text or, for an unquoted empty cell, no value at all; a quoted
// "" is the empty text. Spaces are kept as they are. Blank lines are skipped, except when the
// first record has exactly one cell: then a blank line is a record whose one cell has no value.
class CsvReader {
public:
    using Cell = std::optional<std::string>;
    using Record = std::vector<Cell>;
    // Called once per record in file order with the line (from 1) on which the record begins.
    using RecordHandler = std::function<void(std::int64_t line, const Record& record)>;

    // Parses text and hands every record to handler, the header row included. Throws
    // CommandError naming the line for text that is not valid UTF-8 or not well-formed CSV;
    // records before that line have been handed over already. Exceptions of handler pass through.
    static void read(std::string_view text, const RecordHandler& handler);
};

}  // namespace vdb
