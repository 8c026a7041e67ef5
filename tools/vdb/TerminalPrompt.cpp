#include "TerminalPrompt.h"

#include <iostream>

#include "Terminal.h"

namespace vdb {

namespace {

std::string askWithPrompt(const char* prompt) {
    std::cerr << prompt << std::flush;
    const std::string password = Terminal::readLineWithoutEcho();
    std::cerr << "\n";
    return password;
}

}  // namespace

std::string askPasswordOnTerminal() {
    return askWithPrompt("Kennwort: ");
}

std::string askTargetPasswordOnTerminal() {
    return askWithPrompt("Kennwort der Zieldatenbank: ");
}

}  // namespace vdb
