#include "vdb/CopyPlatform.h"

#include <array>
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

bool isErrorLine(std::string_view line) {
    static constexpr std::array<std::string_view, 5> kPrefixes = {
        "Fehler 0x", "Err.Description: ", "Geben Sie einen gültigen Benutzernamen",
        "Prüfung fehlgeschlagen: ", "Quell- und Zieldatenbank sind dieselbe Datei"};
    for (const std::string_view prefix : kPrefixes) {
        if (line.substr(0, prefix.size()) == prefix) return true;
    }
    return false;
}

StreamLogView::StreamLogView(std::ostream& out, bool quiet, std::function<void()> beforeLine)
    : m_out(out), m_quiet(quiet), m_beforeLine(std::move(beforeLine)) {}

void StreamLogView::append(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    }
    if (m_quiet && !isErrorLine(text)) return;
    if (m_beforeLine) m_beforeLine();
    m_out << text << '\n' << std::flush;
}

bool FilesystemProbe::fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(engine::pathFromUtf8(path), error);
}

}  // namespace vdb
