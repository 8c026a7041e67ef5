#pragma once

#include <string>

#include "WalkReport.h"

namespace engine {
class DbServer;
}

namespace vdbfuzz {

// Opens path write-protected as kUser / kPassword and reads it the way a copy reads its
// source: every table's names and record count, every field's name and value in the first
// 200 records of insertion order, every index's names, and again the first 200 records in
// each index's order. An engine::Error ends only the step that raised it and is recorded in
// the report; any other exception passes on. Throws WalkFault when a name lookup finds
// another object than the one enumerated under that name.
WalkReport walkDatabase(engine::DbServer& server, const std::string& path);

}  // namespace vdbfuzz
