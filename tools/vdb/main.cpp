#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "TerminalPrompt.h"
#include "vdb/CommandLine.h"

int main(int argc, char** argv) {
    vdb::Console console{std::cout, std::cerr, nullptr, nullptr, false};
    if (isatty(STDIN_FILENO)) {
        console.askPassword = vdb::askPasswordOnTerminal;
        console.askTargetPassword = vdb::askTargetPasswordOnTerminal;
    }
    console.errIsTerminal = isatty(STDERR_FILENO) != 0;
    return vdb::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), console);
}
