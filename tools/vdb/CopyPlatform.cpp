#include "vdb/CopyPlatform.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/Utf8Path.h"

namespace vdb {

std::string CopyForm::text(dbcopy::FormText field) const {
    switch (field) {
        case dbcopy::FormText::txtDatabase:
            return source;
        case dbcopy::FormText::txtUsername:
            return user;
        case dbcopy::FormText::txtPassword:
            return password;
        case dbcopy::FormText::txtDatabaseDest:
            return target;
        case dbcopy::FormText::txtDestUser:
            return ownTargetLogin ? targetUser : user;
        case dbcopy::FormText::txtDestPassword:
            return targetPassword;
    }
    return {};
}

StreamLogView::StreamLogView(std::ostream& out, std::function<void()> beforeLine)
    : m_out(out), m_beforeLine(std::move(beforeLine)) {}

void StreamLogView::append(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    }
    if (m_beforeLine) m_beforeLine();
    m_out << text << '\n' << std::flush;
}

void FaultLineStream::lineWritten(const std::string& line, dbcopy::LineKind kind) {
    if (kind == dbcopy::LineKind::Plain) return;
    m_out << line << '\n' << std::flush;
}

bool FilesystemProbe::fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(engine::pathFromUtf8(path), error);
}

}  // namespace vdb
