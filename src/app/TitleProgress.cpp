#include "app/TitleProgress.h"

#include <algorithm>
#include <utility>

namespace dbcopy {

namespace {

constexpr auto kShowInterval = std::chrono::milliseconds(250);
// A rate measured over less time than this says too little about the rest of the run.
constexpr auto kRateKnownAfter = std::chrono::seconds(1);

// m:ss below an hour, h:mm:ss from there on.
QString timeText(std::int64_t seconds) {
    const auto pad = [](std::int64_t value) {
        return QString::number(value).rightJustified(2, u'0');
    };
    if (seconds < 3600) return QString::number(seconds / 60) + u':' + pad(seconds % 60);
    return QString::number(seconds / 3600) + u':' + pad(seconds / 60 % 60) + u':' +
           pad(seconds % 60);
}

}  // namespace

TitleProgress::TitleProgress(QString title, ShowTitle showTitle, ShowProgress showProgress, Now now)
    : m_title(std::move(title)),
      m_showTitle(std::move(showTitle)),
      m_showProgress(std::move(showProgress)),
      m_now(std::move(now)) {}

void TitleProgress::runStarted(const std::string& /*source*/, const std::string& /*target*/) {
    m_total = 0;
    m_done = 0;
    m_copied = 0;
}

void TitleProgress::sourceOpened(std::int64_t records) {
    m_total = records;
    m_start = m_now();
    show(true);
}

void TitleProgress::progress(std::int32_t copied) {
    m_copied = copied;
    show(false);
}

void TitleProgress::tableFinished(std::int32_t copied) {
    m_done += copied;
    m_copied = 0;
}

void TitleProgress::tableInterrupted(std::int32_t copied) {
    tableFinished(copied);
}

void TitleProgress::rebuildStarted() {
    m_showTitle(QStringLiteral("Indizes … – ") + m_title);
    m_showProgress(1.0, m_total > 0);
}

void TitleProgress::runEnded() {
    m_showTitle(m_title);
    m_showProgress(0.0, false);
}

void TitleProgress::show(bool now) {
    if (m_total <= 0) return;
    const Clock::time_point time = m_now();
    if (!now && time - m_lastShown < kShowInterval) return;
    m_lastShown = time;
    const std::int64_t done = std::min(m_done + m_copied, m_total);
    m_showTitle(progressTitle(done));
    m_showProgress(static_cast<double>(done) / static_cast<double>(m_total), true);
}

QString TitleProgress::progressTitle(std::int64_t done) const {
    QString title = QString::number(done * 100 / m_total) + QStringLiteral(" %");
    const std::chrono::duration<double> elapsed = m_lastShown - m_start;
    if (done > 0 && elapsed >= kRateKnownAfter) {
        const auto left = static_cast<std::int64_t>(
            elapsed.count() * static_cast<double>(m_total - done) / static_cast<double>(done));
        title += QStringLiteral(" · noch ") + timeText(left);
    }
    return title + QStringLiteral(" – ") + m_title;
}

}  // namespace dbcopy
