#pragma once

#include <string>

#include "report/RunSummary.h"

namespace dbcopy {

// The run report as one JSON object, pretty-printed: source, target, started, finished,
// seconds, status, error, targetCreated, targetEmptied, tables and indexes. Holds no password.
std::string reportJson(const RunSummary& summary);

// Writes reportJson(summary) to path, replacing the file. Returns false when the file cannot be
// written; never throws but std::bad_alloc.
bool writeReport(const std::string& path, const RunSummary& summary);

}  // namespace dbcopy
