#include "report/LogFile.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include "engine/Utf8Path.h"
#include "report/ReportText.h"

namespace dbcopy {

LogFile::LogFile(std::string path, FailureHandler onFailure, Opening opening)
    : m_path(std::move(path)), m_onFailure(std::move(onFailure)) {
    m_file = engine::openFile(m_path, opening == Opening::Append ? "ab" : "wb");
    if (!m_file) fail();
}

LogFile::~LogFile() {
    if (m_file) std::fclose(m_file);
}

void LogFile::lineWritten(const std::string& line, LineKind /*kind*/) {
    write(clockTime(std::chrono::system_clock::now()) + " " + line + "\n");
}

void LogFile::writeSummary(const std::vector<std::string>& lines) {
    std::string text = "\n";
    for (const std::string& line : lines) text += line + "\n";
    write(text);
}

void LogFile::write(const std::string& text) {
    if (m_failed) return;
    const bool written = std::fwrite(text.data(), 1, text.size(), m_file) == text.size();
    if (!written || std::fflush(m_file) != 0) fail();
}

void LogFile::fail() {
    const std::string reason = std::strerror(errno);
    m_failed = true;
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_onFailure) return;
    try {
        m_onFailure("Die Protokolldatei " + m_path + " kann nicht geschrieben werden (" + reason +
                    "). Der Import läuft weiter.");
    } catch (...) {
        // Telling the user must not disturb the run either.
    }
}

}  // namespace dbcopy
