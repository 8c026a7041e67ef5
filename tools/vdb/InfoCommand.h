#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// `vdb info FILE`: lists on out the users, and per table its display name, record count,
// fields with their types (text with its size) and indexes with their fields and whether they
// are unique. Opens the file read-only. Throws engine::Error.
void infoCommand(const std::string& file, const Login& login, std::ostream& out);

}  // namespace vdb
