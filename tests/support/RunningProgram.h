#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A program started with its standard output on a pipe that the test reads line by line while
// the program runs, and stopped the ways a user or the system stops it: interrupted (SIGINT on
// POSIX, Ctrl+Break to its own process group on Windows) or killed outright (SIGKILL,
// TerminateProcess). Its standard error and input are the test's own. A program still running
// when this ends is killed.
class RunningProgram {
public:
    RunningProgram(const std::string& program, const std::vector<std::string>& arguments);
    ~RunningProgram();

    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The next line of its output without the line end; false once the output has ended.
    bool nextLine(std::string& line);

    // Asks the program to stop as Ctrl+C does; false where the system refused to tell it.
    bool interrupt();
    void kill();

    // Waits for the end: its exit status, or -1 when it was killed.
    int wait();

private:
    struct Process;
    std::unique_ptr<Process> m_process;
    std::FILE* m_output = nullptr;
};

// The whole output of the program, and its exit status.
struct FinishedProgram {
    int code = -1;
    std::vector<std::string> lines;
};
FinishedProgram runToEnd(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace testsupport
