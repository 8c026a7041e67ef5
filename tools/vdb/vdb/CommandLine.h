#pragma once

#include <string>
#include <vector>

#include "vdb/Console.h"

namespace vdb {

// Exit codes of the tool.
namespace exit_code {
constexpr int Success = 0;
constexpr int Failure = 1;         // the engine refused, or an input file (schema, CSV) is faulty
constexpr int Usage = 2;           // wrong command line
constexpr int PartialFailure = 3;  // the work reached its end, but some of it was refused
}  // namespace exit_code

// Runs `vdb COMMAND ARGS... [-u USER] [-p PASSWORD]`; args are the words after the program
// name. Writes results to console.out and every message to console.err: an engine failure as
// "vdb: Fehler 0x80041040: …", a usage error with the parser's message. Returns an exit code
// above; never throws.
int runCommandLine(const std::vector<std::string>& args, Console& console);

}  // namespace vdb
