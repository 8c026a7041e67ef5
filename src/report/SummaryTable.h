#pragma once

#include <string>
#include <vector>

#include "report/RunSummary.h"

namespace dbcopy {

// The German summary of a run, as lines without line ends: a header, one row per source table
// (display name, records in the source, copied, target before and after, verified, status,
// seconds), one row per failed index rebuild, a total line with records per second and the
// result. Never throws but std::bad_alloc.
std::vector<std::string> summaryTable(const RunSummary& summary);

// The result in German words: "erfolgreich", "teilweise", "fehlgeschlagen", "abgebrochen".
std::string statusWord(RunStatus status);

}  // namespace dbcopy
