#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>

#include "copy/RunObserver.h"

namespace dbcopy {

// The overall progress of a run at a glance: "37 % · noch 1:12 – <title>" in the window title
// and the same fraction on the task bar; "Indizes … – <title>" while the indexes are rebuilt.
// The percent counts the records copied so far against the source's records at the start; the
// time left follows from the rate so far. Shown at most four times a second.
class TitleProgress : public RunObserver {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    using ShowTitle = std::function<void(const QString& title)>;
    // The task bar's progress: fraction from 0 to 1, shown or hidden.
    using ShowProgress = std::function<void(double fraction, bool visible)>;

    // title: the plain window title; now: the clock the rate is measured with.
    TitleProgress(QString title, ShowTitle showTitle, ShowProgress showProgress,
                  Now now = &Clock::now);

    void runStarted(const std::string& source, const std::string& target) override;
    void sourceOpened(std::int64_t records) override;
    void progress(std::int32_t copied) override;
    void tableFinished(std::int32_t copied) override;
    void tableInterrupted(std::int32_t copied) override;
    void rebuildStarted() override;

    // Puts the plain title back and hides the task-bar progress; called when the run has ended.
    void runEnded();

private:
    void show(bool now);
    QString progressTitle(std::int64_t done) const;

    QString m_title;
    ShowTitle m_showTitle;
    ShowProgress m_showProgress;
    Now m_now;
    std::int64_t m_total = 0;  // the source's records; 0 shows no percent
    std::int64_t m_done = 0;   // records of the tables finished before the current one
    std::int32_t m_copied = 0;
    Clock::time_point m_start;
    Clock::time_point m_lastShown;
};

}  // namespace dbcopy
