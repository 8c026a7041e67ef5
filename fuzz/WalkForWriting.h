#pragma once

#include <string>

#include "WalkReport.h"

namespace engine {
class DbServer;
}

namespace vdbfuzz {

// Uses path the way an import uses its target, as kUser / kPassword: opens it for writing,
// drops its indexes for bulk loading (PrepareKeyStorage), reopens it, appends again the
// first few records of every table in bulk mode, rebuilds every index and finally empties
// every table. Before emptying, the open file makes a new database at createdPath
// (CreateDatabase), which must open again with the same credentials and tables; the new file
// is removed afterwards. An engine::Error ends only the step that raised it and is recorded;
// any other exception passes on. Throws WalkFault when the engine breaks a promise: a created
// database that does not open, a table not empty after DeleteAllRecords.
// path is changed: callers pass a copy of the file under test.
WalkReport walkForWriting(engine::DbServer& server, const std::string& path,
                          const std::string& createdPath);

}  // namespace vdbfuzz
