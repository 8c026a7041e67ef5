#pragma once

#include <QString>

namespace dbcopy {

// The folder that holds the log files of the runs: "logs" in the user's local data folder of the
// program. Returns the path whether or not the folder exists yet. Never throws.
QString logFolderPath();

}  // namespace dbcopy
