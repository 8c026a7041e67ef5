#include "Terminal.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace vdb {

namespace {

// Switches the terminal's echo off for its lifetime.
class EchoOff {
public:
    EchoOff() : m_active(tcgetattr(STDIN_FILENO, &m_saved) == 0) {
        if (!m_active) return;
        termios silent = m_saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    ~EchoOff() {
        if (m_active) tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved{};
    bool m_active;
};

}  // namespace

Terminal::Terminal() = default;

Terminal::~Terminal() = default;

std::vector<std::string> Terminal::arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool Terminal::inputIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}

bool Terminal::errorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

std::string Terminal::readLineWithoutEcho() {
    EchoOff echoOff;
    std::string line;
    std::getline(std::cin, line);
    return line;
}

}  // namespace vdb
