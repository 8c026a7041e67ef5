#pragma once

#include <string>

#include "copy/ImportRun.h"
#include "vdb/Console.h"

namespace CLI {
class App;
}

namespace vdb {

// The values of `vdb copy`'s arguments as the parser fills them.
struct CopyArguments {
    std::string source;
    std::string target;
    std::string user = "ADMIN";
    std::string password;
    std::string passwordFile;
    std::string targetUser;
    std::string targetPassword;
    std::string targetPasswordFile;
    bool deleteTarget = false;
    bool quiet = false;
    std::string reportFile;
    std::string logFile;
    bool dryRun = false;  // only predict, as `vdb compare` does
    bool verify = false;  // compare the copy value by value once the run has closed the target
};

// Adds the subcommand `copy SOURCE TARGET` with its options and German help to app.
void defineCopyCommand(CLI::App& app, CopyArguments& arguments);

// Runs the import from SOURCE into TARGET as the window does: every log line on console.out,
// then a blank line and the summary table; a progress display on console.err when it is a
// terminal; SIGINT and SIGTERM cancel the run. Writes the report and the log file when asked;
// a log file or report that cannot be written is said on console.err and changes nothing else.
// With --verify a run that finished is followed by the value-by-value check of both files,
// opened again read-only: its lines go where the run's lines go, the summary gains the column
// "Inhalt" and the report each table's content; a table not found equal makes the run partial.
// Returns exit_code::Success, Partial, Failure or Cancelled (see CommandLine.h). With --dry-run
// it changes nothing and runs `vdb compare` with the same logins instead. Throws
// CommandError for a password file that cannot be read or that others may read.
int copyCommand(const CLI::App& command, const CopyArguments& arguments, Console& console);

// As above, with the run's engine server made by createServer; the check after --verify
// reads both files through the engine itself.
int copyCommand(const CLI::App& command, const CopyArguments& arguments, Console& console,
                const dbcopy::ServerFactory& createServer);

}  // namespace vdb
