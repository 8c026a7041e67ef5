#pragma once

#include <string>
#include <vector>

#include "vdb/Console.h"

namespace vdb {

// Exit codes of the tool.
namespace exit_code {
constexpr int Success = 0;
constexpr int Failure = 1;  // the engine refused, an input file is faulty, a copy ended early
constexpr int Usage = 2;    // wrong command line
// copy: the run ended, but a table, an index or a count check failed; compare: something would
// be refused; info, repair: the file needs mending (an index stays suspended)
constexpr int Partial = 3;
constexpr int Cancelled = 4;  // copy: SIGINT or SIGTERM stopped the run
}  // namespace exit_code

// Runs `vdb COMMAND ARGS... [-u USER] [-p PASSWORD]`; args are the words after the program
// name. Writes results to console.out and every message to console.err: an engine failure as
// "vdb: Fehler 0x80041040: …", a usage error with the parser's message, an unknown command
// with the list of commands. Returns an exit code above (Cancelled only from copy); never
// throws.
int runCommandLine(const std::vector<std::string>& args, Console& console);

}  // namespace vdb
