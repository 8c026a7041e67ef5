#pragma once

#include <string>

#include "TempDir.h"

namespace reliability {

// One run of the vdb program through the system's shell: standard input empty (it never
// prompts), output in files of dir, no password in the environment.
struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

// The vdb program of this build: on Windows the one beside the test program (the build's own
// path is a path of the machine that built it).
std::string vdbProgram();

ProgramRun runProgram(const testsupport::TempDir& dir, const std::string& arguments);

// path as one word of a shell command.
std::string shellWord(const std::string& path);

}  // namespace reliability
