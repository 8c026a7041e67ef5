#pragma once

#include <string>
#include <vector>

namespace vdb {

// The program's standard streams and arguments as the system hands them over, the one part of
// the vdb program that differs between systems. Inside, every text is UTF-8 and every line ends
// in LF, on every system.
class Terminal {
public:
    // Prepares the standard streams: on Windows standard output and standard error are written
    // untranslated (LF stays LF) and a console shows UTF-8; the console is restored on
    // destruction. Nothing to do elsewhere.
    Terminal();
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // The command-line arguments after the program's name, as UTF-8.
    static std::vector<std::string> arguments(int argc, char** argv);

    // Whether standard input is a terminal that a password can be asked on.
    static bool inputIsTerminal();

    // Whether standard error is a terminal, where a progress display may be drawn.
    static bool errorIsTerminal();

    // One line from the terminal on standard input, without its line end, not echoed while it is
    // typed; UTF-8.
    static std::string readLineWithoutEcho();

private:
    unsigned m_savedOutputCodePage = 0;
};

}  // namespace vdb
