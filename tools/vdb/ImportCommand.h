#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// `vdb import FILE TABLE CSVFILE`: appends the records of a CSV file (see CsvReader.h and
// CsvWriter.h) to the table. The header row names fields of the table, case-insensitively and
// in any order; fields it leaves out stay without a value. Cells go to the engine as texts
// (true and false for Booleans) and the engine converts them to the field's type.
// All or nothing: on any failure no record of the file is stored, and a CommandError names the
// line (and the field) — for an unknown or doubled column, a record with the wrong number of
// cells, malformed CSV, or a value or record the engine refuses (then with its code and
// description). Reports the number of records on out. Throws engine::Error when the file or
// table cannot be opened.
void importCommand(const std::string& file, const std::string& table, const std::string& csvFile,
                   const Login& login, std::ostream& out);

}  // namespace vdb
