#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace vdb {

// Where a command writes and how it asks for a password: the terminal in the program,
// string streams in tests.
struct Console {
    std::ostream& out;  // results: CSV, schema listings, summaries
    std::ostream& err;  // error messages and prompts
    // Asks the user for a password without echo; empty when no one can be asked
    // (standard input is not a terminal).
    std::function<std::string()> askPassword;
    // The same for the target database's password, with its own prompt.
    std::function<std::string()> askTargetPassword;
    // Whether err is a terminal, where a progress display may be drawn.
    bool errIsTerminal = false;
};

}  // namespace vdb
