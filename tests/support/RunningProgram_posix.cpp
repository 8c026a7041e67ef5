#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "RunningProgram.h"

namespace testsupport {

struct RunningProgram::Process {
    pid_t pid = -1;
    bool ended = false;
    int status = -1;
};

RunningProgram::RunningProgram(const std::string& program,
                               const std::vector<std::string>& arguments)
    : m_process(std::make_unique<Process>()) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    m_process->pid = ::fork();
    if (m_process->pid < 0) throw std::runtime_error("fork failed");
    if (m_process->pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    m_output = ::fdopen(fds[0], "r");
}

RunningProgram::~RunningProgram() {
    if (!m_process->ended) {
        kill();
        wait();
    }
    std::fclose(m_output);
}

bool RunningProgram::interrupt() {
    return ::kill(m_process->pid, SIGINT) == 0;
}

void RunningProgram::kill() {
    ::kill(m_process->pid, SIGKILL);
}

int RunningProgram::wait() {
    if (!m_process->ended) {
        int status = 0;
        ::waitpid(m_process->pid, &status, 0);
        m_process->ended = true;
        m_process->status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return m_process->status;
}

}  // namespace testsupport
