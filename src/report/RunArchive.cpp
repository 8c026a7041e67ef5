#include "report/RunArchive.h"

#include <chrono>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "engine/Utf8Path.h"
#include "report/JsonReport.h"
#include "report/ReportText.h"
#include "report/SummaryTable.h"

namespace dbcopy {

namespace fs = std::filesystem;
using engine::pathFromUtf8;
using engine::utf8Of;

RunArchive::RunArchive(std::string folder, LogFile::FailureHandler onFailure)
    : m_folder(std::move(folder)), m_onFailure(std::move(onFailure)) {}

RunArchive::~RunArchive() = default;

void RunArchive::runStarted(const std::string& /*source*/, const std::string& /*target*/) {
    m_told = false;
    std::error_code ignored;
    fs::create_directories(pathFromUtf8(m_folder),
                           ignored);  // a failure shows when the file cannot be made
    m_logPath = utf8Of(pathFromUtf8(m_folder) / pathFromUtf8(newStem() + ".log"));
    m_log =
        std::make_unique<LogFile>(m_logPath, [this](const std::string& message) { tell(message); });
}

void RunArchive::lineWritten(const std::string& line, LineKind kind) {
    if (m_log) m_log->lineWritten(line, kind);
}

void RunArchive::finish(const RunSummary& summary) {
    if (!m_log) return;
    m_log->writeSummary(summaryTable(summary));
    m_log.reset();
    writeReport(summary);
    prune();
}

void RunArchive::appendCheck(const std::vector<std::string>& lines, const RunSummary& summary) {
    if (m_logPath.empty()) return;
    m_told = false;
    LogFile log(
        m_logPath, [this](const std::string& message) { tell(message); }, LogFile::Opening::Append);
    for (const std::string& line : lines) log.lineWritten(line, LineKind::Plain);
    writeReport(summary);
}

void RunArchive::writeReport(const RunSummary& summary) {
    const std::string reportPath = utf8Of(pathFromUtf8(m_logPath).replace_extension(".json"));
    if (!dbcopy::writeReport(reportPath, summary)) {
        tell("Der Laufbericht " + reportPath + " kann nicht geschrieben werden.");
    }
}

// Two runs within one second get the suffixes _2, _3, … in the order they started.
std::string RunArchive::newStem() const {
    const std::string stamp = fileStamp(std::chrono::system_clock::now());
    std::string stem = stamp;
    std::error_code ignored;
    for (int number = 2; fs::exists(pathFromUtf8(m_folder) / (stem + ".log"), ignored); ++number) {
        stem = stamp + "_" + std::to_string(number);
    }
    return stem;
}

void RunArchive::prune() const {
    std::error_code error;
    std::set<std::string> stems;
    for (const auto& entry : fs::directory_iterator(pathFromUtf8(m_folder), error)) {
        const fs::path path = entry.path();
        if (path.extension() == ".log" || path.extension() == ".json") {
            stems.insert(utf8Of(path.stem()));
        }
    }
    // The stems begin with the start time, so their order is the runs' order.
    std::size_t excess = stems.size() > kKeptRuns ? stems.size() - kKeptRuns : 0;
    for (auto stem = stems.begin(); excess > 0; ++stem, --excess) {
        fs::remove(pathFromUtf8(m_folder) / pathFromUtf8(*stem + ".log"), error);
        fs::remove(pathFromUtf8(m_folder) / pathFromUtf8(*stem + ".json"), error);
    }
}

void RunArchive::tell(const std::string& message) {
    if (m_told || !m_onFailure) return;
    m_told = true;
    try {
        m_onFailure(message);
    } catch (...) {
        // Telling the user must not disturb the run.
    }
}

}  // namespace dbcopy
