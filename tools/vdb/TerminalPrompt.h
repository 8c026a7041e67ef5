#pragma once

#include <string>

namespace vdb {

// Asks for the password on the terminal: writes "Kennwort: " to standard error and reads one
// line from standard input with the echo switched off, restoring the terminal afterwards.
std::string askPasswordOnTerminal();

// The same with the prompt "Kennwort der Zieldatenbank: ".
std::string askTargetPasswordOnTerminal();

}  // namespace vdb
