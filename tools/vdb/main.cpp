#include <iostream>

#include "Terminal.h"
#include "TerminalPrompt.h"
#include "vdb/CommandLine.h"

int main(int argc, char** argv) {
    const vdb::Terminal terminal;
    vdb::Console console{std::cout, std::cerr, nullptr, nullptr, false};
    if (vdb::Terminal::inputIsTerminal()) {
        console.askPassword = vdb::askPasswordOnTerminal;
        console.askTargetPassword = vdb::askTargetPasswordOnTerminal;
    }
    console.errIsTerminal = vdb::Terminal::errorIsTerminal();
    return vdb::runCommandLine(vdb::Terminal::arguments(argc, argv), console);
}
