#include "TerminalPrompt.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include <iostream>

namespace vdb {

namespace {

// Switches the terminal's echo off for its lifetime.
#ifdef _WIN32
class EchoOff {
public:
    EchoOff()
        : m_input(GetStdHandle(STD_INPUT_HANDLE)),
          m_active(GetConsoleMode(m_input, &m_saved) != 0) {
        if (m_active) SetConsoleMode(m_input, m_saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    ~EchoOff() {
        if (m_active) SetConsoleMode(m_input, m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE m_input;
    DWORD m_saved = 0;
    bool m_active;
};
#else
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
#endif

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
