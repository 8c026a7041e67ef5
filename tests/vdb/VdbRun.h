#pragma once

#include <functional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "copy/ImportRun.h"

namespace vdbtest {

// What one run of the tool left behind.
struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the tool's command line in-process; askPassword stands for the terminal prompt.
RunResult runVdb(const std::vector<std::string>& args,
                 std::function<std::string()> askPassword = nullptr);

// Runs `vdb copy …` in-process (args begin with "copy") with the run's engine server made by
// createServer, as a fault engine needs.
RunResult runCopyWith(const std::vector<std::string>& args,
                      const dbcopy::ServerFactory& createServer);

// Writes text to path (binary, unchanged).
void writeFile(const std::string& path, const std::string& text);

// The schema of the test table "Kunden": ID int32 (unique index "ID"), Name text(20),
// Aktiv bool, Stufe int16; user ADMIN / geheim.
extern const char* const kKundenSchema;

// A database at path made by `vdb create` from kKundenSchema.
void createKunden(const testsupport::TempDir& dir, const std::string& path);

// Sets or removes an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_had;
    std::string m_old;
};

}  // namespace vdbtest
