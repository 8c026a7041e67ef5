#include "Terminal.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>  // needs windows.h first

#include <cstdio>
#include <memory>

#include "engine/Utf8Path.h"

namespace vdb {

namespace {

std::string utf8Of(const wchar_t* text) {
    return engine::utf8Of(std::filesystem::path(text));
}

bool isConsole(DWORD stream) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(stream), &mode) != 0;
}

// Lets the console understand the progress display's "erase line" sequence.
void enableEscapeSequences(DWORD stream) {
    const HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

// Switches the console's echo off for its lifetime.
class EchoOff {
public:
    EchoOff() : m_input(::GetStdHandle(STD_INPUT_HANDLE)) {
        m_active = ::GetConsoleMode(m_input, &m_saved) != 0;
        if (m_active) ::SetConsoleMode(m_input, m_saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    ~EchoOff() {
        if (m_active) ::SetConsoleMode(m_input, m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE m_input;
    DWORD m_saved = 0;
    bool m_active = false;
};

}  // namespace

Terminal::Terminal() : m_savedOutputCodePage(::GetConsoleOutputCP()) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    enableEscapeSequences(STD_ERROR_HANDLE);
}

Terminal::~Terminal() {
    if (m_savedOutputCodePage != 0) ::SetConsoleOutputCP(m_savedOutputCodePage);
}

// The narrow arguments come in the user's code page; the wide command line holds every name.
std::vector<std::string> Terminal::arguments(int /*argc*/, char** /*argv*/) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&::LocalFree)> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    std::vector<std::string> arguments;
    for (int index = 1; wide && index < count; ++index) {
        arguments.push_back(utf8Of(wide.get()[index]));
    }
    return arguments;
}

bool Terminal::inputIsTerminal() {
    return isConsole(STD_INPUT_HANDLE);
}

bool Terminal::errorIsTerminal() {
    return isConsole(STD_ERROR_HANDLE);
}

// Read as UTF-16 from the console itself, so that an umlaut in a password arrives whole.
std::string Terminal::readLineWithoutEcho() {
    EchoOff echoOff;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring line;
    wchar_t character = 0;
    DWORD read = 0;
    while (::ReadConsoleW(input, &character, 1, &read, nullptr) && read == 1 &&
           character != L'\n') {
        if (character != L'\r') line.push_back(character);
    }
    return utf8Of(line.c_str());
}

}  // namespace vdb
