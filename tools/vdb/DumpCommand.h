#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// `vdb dump FILE TABLE`: writes the table to out as CSV (see CsvWriter.h): a header row of the
// field names in field order, then every record in insertion order. Opens the file read-only,
// so it stays byte-identical. Throws engine::Error (e.g. NoSuchTable, AccessDenied).
void dumpCommand(const std::string& file, const std::string& table, const Login& login,
                 std::ostream& out);

}  // namespace vdb
