#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// `vdb info FILE`: lists on out the users, and per table its display name, record count,
// fields with their types (text with its size) and indexes with their fields, whether they are
// unique and whether they are suspended. A file left mid-write is said so on a line of its own
// and shown without its unfinished writes. Opens the file read-only and never changes it.
// Returns exit_code::Success for a whole file, exit_code::Partial when it needs mending (a
// suspended index, a file left mid-write). Throws engine::Error when it cannot be read.
int infoCommand(const std::string& file, const Login& login, std::ostream& out);

}  // namespace vdb
