#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "copy/RunObserver.h"

namespace dbcopy {

// A run's log as a UTF-8 file: each line prefixed with the local time "HH:MM:SS.mmm " and
// flushed at once, so that a killed run leaves every line written so far. A file that cannot
// be opened or written never disturbs the run: the failure is told once, and nothing more is
// written.
class LogFile : public RunObserver {
public:
    // Told once, with a German message, when the file cannot be opened or written.
    using FailureHandler = std::function<void(const std::string& message)>;

    // How the file at path is opened.
    enum class Opening { Replace, Append };

    // Creates or replaces the file at path, or appends to it; a failure is told through
    // onFailure at once.
    LogFile(std::string path, FailureHandler onFailure, Opening opening = Opening::Replace);
    ~LogFile() override;

    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    void lineWritten(const std::string& line, LineKind kind) override;

    // Appends an empty line and the summary lines, without time prefixes.
    void writeSummary(const std::vector<std::string>& lines);

private:
    void write(const std::string& text);
    void fail();

    std::string m_path;
    FailureHandler m_onFailure;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};

}  // namespace dbcopy
