#include "VdbProgram.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "FileBytes.h"
#include "engine/Utf8Path.h"

namespace reliability {

namespace {

// The shell's command for one run, and the exit status from what std::system returned.
#ifdef _WIN32
// cmd.exe: "set NAME=" removes the variable.
std::string command(const std::string& arguments, const std::string& out, const std::string& err) {
    return "set VDB_PASSWORD=&set VDB_TARGET_PASSWORD=&" + shellWord(vdbProgram()) + " " +
           arguments + " <NUL >" + shellWord(out) + " 2>" + shellWord(err);
}
int exitStatus(int status) {
    return status;
}
#else
std::string command(const std::string& arguments, const std::string& out, const std::string& err) {
    return "env -u VDB_PASSWORD -u VDB_TARGET_PASSWORD " + shellWord(vdbProgram()) + " " +
           arguments + " </dev/null >" + shellWord(out) + " 2>" + shellWord(err);
}
int exitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

#ifdef _WIN32
std::string vdbProgram() {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return engine::utf8Of(
        std::filesystem::path(std::wstring(self, length)).replace_filename("vdb.exe"));
}
#else
std::string vdbProgram() {
    return VDB_PROGRAM;
}
#endif

ProgramRun runProgram(const testsupport::TempDir& dir, const std::string& arguments) {
    const std::string out = dir.file("stdout.txt");
    const std::string err = dir.file("stderr.txt");
    const int status = std::system(command(arguments, out, err).c_str());
    return {exitStatus(status), testsupport::fileBytes(out), testsupport::fileBytes(err)};
}

std::string shellWord(const std::string& path) {
#ifdef _WIN32
    return "\"" + path + "\"";
#else
    return "'" + path + "'";
#endif
}

}  // namespace reliability
