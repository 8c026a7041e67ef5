#include "vdb/ProgressDisplay.h"

#include <cstdio>

namespace vdb {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string timeText(double seconds) {
    const auto whole = static_cast<long>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
}

}  // namespace

void ProgressDisplay::tableStarted(const dbcopy::TableStart& table) {
    m_table = table.displayName;
    m_tableRecords = table.sourceRecords;
    m_copied = 0;
}

void ProgressDisplay::progress(std::int32_t copied) {
    m_copied = copied;
    const Clock::time_point now = Clock::now();
    if (m_shown && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    draw();
}

void ProgressDisplay::tableFinished(std::int32_t copied) {
    m_done += copied;
    m_copied = 0;
}

void ProgressDisplay::clear() {
    if (!m_shown) return;
    m_terminal << "\r\x1b[K" << std::flush;
    m_shown = false;
}

void ProgressDisplay::draw() {
    const std::int64_t done = m_done + m_copied;
    const std::int64_t total = m_total > 0 ? m_total : m_done + m_tableRecords;
    const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    const double perSecond = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
    const double percent = total > 0 ? 100.0 * static_cast<double>(done) / total : 0.0;
    const double left = perSecond > 0 ? static_cast<double>(total - done) / perSecond : 0.0;
    char text[160];
    std::snprintf(text, sizeof text, "%5.1f %%  %.0f Datensätze/s  noch %s  ", percent, perSecond,
                  timeText(left > 0 ? left : 0).c_str());
    m_terminal << "\r\x1b[K" << m_table << ": " << text << std::flush;
    m_shown = true;
}

}  // namespace vdb
