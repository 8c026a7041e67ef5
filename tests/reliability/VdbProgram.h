#pragma once

#include <string>

#include "TempDir.h"

namespace reliability {

// One run of the vdb program through the shell: standard input from /dev/null (it never
// prompts), output in files of dir, no password in the environment.
struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

ProgramRun runProgram(const testsupport::TempDir& dir, const std::string& arguments);

// path as one word of a shell command.
std::string shellWord(const std::string& path);

}  // namespace reliability
