#include "VdbProgram.h"

#include <sys/wait.h>

#include <cstdlib>

#include "FileBytes.h"

namespace reliability {

ProgramRun runProgram(const testsupport::TempDir& dir, const std::string& arguments) {
    const std::string out = dir.file("stdout.txt");
    const std::string err = dir.file("stderr.txt");
    const std::string command = "env -u VDB_PASSWORD -u VDB_TARGET_PASSWORD '" VDB_PROGRAM "' " +
                                arguments + " </dev/null >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::fileBytes(out),
            testsupport::fileBytes(err)};
}

std::string shellWord(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace reliability
