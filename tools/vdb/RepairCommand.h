#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// `vdb repair FILE`: opens the file for writing, which recovers a file left mid-write, rebuilds
// every suspended index and runs SQLite's integrity check, writing to out what it did. A unique
// index whose records still hold a key twice is reported with those keys and stays suspended.
// Never deletes or changes a record. Returns exit_code::Success when the file is whole with
// every index built, exit_code::Partial when an index stays suspended, exit_code::Failure when
// the integrity check finds damage. Throws engine::Error when the file cannot be opened or an
// index cannot be written.
int repairCommand(const std::string& file, const Login& login, std::ostream& out);

}  // namespace vdb
