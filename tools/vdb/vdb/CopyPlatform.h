#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "copy/FileProbe.h"
#include "copy/ImportForm.h"
#include "copy/RecordYield.h"
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

// True for the lines that report a fault: error report lines, the user-name hint, a failed
// count check and the refusal of one file as source and target.
bool isErrorLine(std::string_view line);

// Writes each log line to a stream with LF, flushed at once; quiet keeps only error lines.
// beforeLine runs before each line is written (to clear a progress display).
class StreamLogView : public dbcopy::LogView {
public:
    StreamLogView(std::ostream& out, bool quiet, std::function<void()> beforeLine);

    void append(std::string_view text) override;
    void moveCaretToEnd() override {}

private:
    std::ostream& m_out;
    bool m_quiet;
    std::function<void()> m_beforeLine;
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
