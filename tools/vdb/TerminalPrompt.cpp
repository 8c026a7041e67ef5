#include "TerminalPrompt.h"

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

std::string askWithPrompt(const char* prompt) {
    std::cerr << prompt << std::flush;
    std::string password;
    {
        EchoOff echoOff;
        std::getline(std::cin, password);
    }
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
