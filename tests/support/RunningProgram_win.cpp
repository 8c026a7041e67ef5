#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <stdexcept>

#include "RunningProgram.h"
#include "engine/Utf8Path.h"

namespace testsupport {

namespace {

// The argument's UTF-16 form, as the system's paths are made from UTF-8 text.
std::wstring wide(const std::string& text) {
    return engine::pathFromUtf8(text).native();
}

// One argument as the C runtime's command-line parser reads it back: in quotes, a quote
// escaped, and backslashes doubled where a quote follows them.
std::wstring quoted(const std::wstring& argument) {
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result.push_back(c);
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

}  // namespace

struct RunningProgram::Process {
    PROCESS_INFORMATION info{};
    bool ended = false;
    bool killed = false;
    int status = -1;
};

RunningProgram::RunningProgram(const std::string& program,
                               const std::vector<std::string>& arguments)
    : m_process(std::make_unique<Process>()) {
    std::wstring commandLine = quoted(wide(program));
    for (const std::string& argument : arguments) commandLine += L" " + quoted(wide(argument));

    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        throw std::runtime_error("CreatePipe failed");
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    // A group of its own, so that Ctrl+Break reaches the program and not the test.
    const BOOL started =
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &m_process->info);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        throw std::runtime_error("CreateProcessW failed");
    }
    m_output = ::_fdopen(::_open_osfhandle(reinterpret_cast<intptr_t>(readEnd), _O_RDONLY), "rb");
}

RunningProgram::~RunningProgram() {
    if (!m_process->ended) {
        kill();
        wait();
    }
    std::fclose(m_output);
    ::CloseHandle(m_process->info.hThread);
    ::CloseHandle(m_process->info.hProcess);
}

bool RunningProgram::interrupt() {
    return ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, m_process->info.dwProcessId) != 0;
}

void RunningProgram::kill() {
    m_process->killed = ::TerminateProcess(m_process->info.hProcess, 1) != 0;
}

int RunningProgram::wait() {
    if (!m_process->ended) {
        ::WaitForSingleObject(m_process->info.hProcess, INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(m_process->info.hProcess, &status);
        m_process->ended = true;
        m_process->status = m_process->killed ? -1 : static_cast<int>(status);
    }
    return m_process->status;
}

}  // namespace testsupport
