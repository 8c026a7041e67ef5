#include "RunningProgram.h"

namespace testsupport {

bool RunningProgram::nextLine(std::string& line) {
    line.clear();
    for (int c; (c = std::fgetc(m_output)) != EOF;) {
        if (c == '\n') return true;
        if (c != '\r') line.push_back(static_cast<char>(c));
    }
    return !line.empty();
}

FinishedProgram runToEnd(const std::string& program, const std::vector<std::string>& arguments) {
    FinishedProgram finished;
    RunningProgram running(program, arguments);
    for (std::string line; running.nextLine(line);) finished.lines.push_back(line);
    finished.code = running.wait();
    return finished;
}

}  // namespace testsupport
