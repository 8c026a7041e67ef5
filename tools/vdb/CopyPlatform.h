#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "copy/FileProbe.h"
#include "copy/ImportForm.h"
#include "copy/RecordYield.h"
#include "copy/RunObserver.h"
#include "log/LogView.h"

namespace vdb {

// The paths, logins and delete option of `vdb copy`, as the import run reads the window.
struct CopyForm : dbcopy::ImportForm {
    std::string source;
    std::string target;
    std::string user;
    std::string password;
    std::string targetUser;
    std::string targetPassword;
    bool ownTargetLogin = false;  // without it the target opens with the source's login
    int deleteValue = 0;

    std::string text(dbcopy::FormText field) const override;
    bool isDestUserEnabled() const override { return ownTargetLogin; }
    int deleteOption() const override { return deleteValue; }
    void setDeleteOption(int value) override { deleteValue = value; }
};

// Writes each log line to a stream with LF, flushed at once. beforeLine runs before each line is
// written (to clear a progress display).
class StreamLogView : public dbcopy::LogView {
public:
    StreamLogView(std::ostream& out, std::function<void()> beforeLine);

    void append(std::string_view text) override;
    void moveCaretToEnd() override {}

private:
    std::ostream& m_out;
    std::function<void()> m_beforeLine;
};

// The log pane of `vdb copy --quiet`, which shows no line as it is written.
class SilentLogView : public dbcopy::LogView {
public:
    void append(std::string_view /*text*/) override {}
    void moveCaretToEnd() override {}
};

// Writes each log line that reports a fault to a stream with LF, flushed at once: what
// `vdb copy --quiet` shows of the log.
class FaultLineStream : public dbcopy::RunObserver {
public:
    explicit FaultLineStream(std::ostream& out) : m_out(out) {}

    void lineWritten(const std::string& line, dbcopy::LineKind kind) override;

private:
    std::ostream& m_out;
};

// No event loop to serve: the command line runs the copy straight through.
class NoYield : public dbcopy::RecordYield {
public:
    void yieldNow() override {}
    void yieldPerRecord() override {}
};

// The target's existence test on the file system: a regular file counts, nothing else.
class FilesystemProbe : public dbcopy::FileProbe {
public:
    bool fileExists(const std::string& path) override;
};

}  // namespace vdb
