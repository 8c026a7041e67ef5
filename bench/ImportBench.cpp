// Times a whole import of our own against SQLite's own bulk copy of the same records.
//
//   import_bench [--records N] [--data DIR]
//
// The sources are made once per size in DIR and reused. The import runs with the real engine,
// progress log, log pane and Qt yield under the offscreen platform, delete option off.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "BenchData.h"
#include "SqliteBaseline.h"
#include "copy/ImportForm.h"
#include "copy/ImportRun.h"
#include "engine/Database.h"
#include "engine/sqlite/SqliteEngine.h"
#include "log/ProgressLog.h"
#include "platform/PlainTextLogView.h"
#include "platform/QtEventYield.h"
#include "platform/QtFileProbe.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// The window's fields as the benchmark fills them: target exists, source credentials, no delete.
class BenchForm : public dbcopy::ImportForm {
public:
    BenchForm(fs::path source, fs::path target)
        : m_source(std::move(source)), m_target(std::move(target)) {}

    std::string text(dbcopy::FormText field) const override {
        switch (field) {
            case dbcopy::FormText::txtDatabase: return m_source.string();
            case dbcopy::FormText::txtDatabaseDest: return m_target.string();
            case dbcopy::FormText::txtUsername:
            case dbcopy::FormText::txtDestUser: return bench::kUser;
            case dbcopy::FormText::txtPassword:
            case dbcopy::FormText::txtDestPassword: return bench::kPassword;
        }
        return {};
    }
    bool isDestUserEnabled() const override { return false; }
    int deleteOption() const override { return 0; }
    void setDeleteOption(int) override {}

private:
    fs::path m_source;
    fs::path m_target;
};

// The log pane, watched: when the first and last lines came, and whether the big table's
// record loop is under way.
class TimedLogView : public dbcopy::LogView {
public:
    explicit TimedLogView(QPlainTextEdit& pane) : m_pane(pane) {}

    void append(std::string_view text) override {
        const auto now = Clock::now();
        if (!m_first) m_first = now;
        m_last = now;
        if (text.starts_with("Exportvorgang für Tabelle Kunden")) m_inRecordLoop = true;
        if (text.starts_with("Kunden: ") && text.find("exportiert") != std::string_view::npos) {
            m_inRecordLoop = false;
        }
        m_pane.append(text);
    }
    void moveCaretToEnd() override { m_pane.moveCaretToEnd(); }

    double seconds() const { return std::chrono::duration<double>(m_last - *m_first).count(); }
    bool inRecordLoop() const { return m_inRecordLoop; }

private:
    dbcopy::PlainTextLogView m_pane;
    std::optional<Clock::time_point> m_first;
    Clock::time_point m_last;
    bool m_inRecordLoop = false;
};

// The longest time between two rounds of event processing during the record loop, seen by a
// timer that fires at every round.
class EventLoopGapMeter {
public:
    explicit EventLoopGapMeter(const TimedLogView& log) : m_log(log) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(0);
    }
    double longestMilliseconds() const { return m_longest.count() / 1000.0; }

private:
    void tick() {
        const auto now = Clock::now();
        if (m_log.inRecordLoop() && m_wasInLoop) {
            m_longest = std::max(m_longest,
                                 std::chrono::duration_cast<std::chrono::microseconds>(now - m_last));
        }
        m_wasInLoop = m_log.inRecordLoop();
        m_last = now;
    }

    const TimedLogView& m_log;
    QTimer m_timer;
    Clock::time_point m_last = Clock::now();
    bool m_wasInLoop = false;
    std::chrono::microseconds m_longest{0};
};

long peakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Microseconds per AddLog call into a log that already holds `lines` lines.
double addLogMicroseconds(int lines) {
    QPlainTextEdit pane;
    pane.show();
    dbcopy::PlainTextLogView view(pane);
    dbcopy::QtEventYield yield;
    dbcopy::ProgressLog log(view, yield);
    for (int i = 0; i < lines; ++i) view.append("Kunden: " + std::to_string(i) + "/1000000\r\n");
    // Let the pane catch up with the lines added at once, as it does line by line in a run.
    QCoreApplication::processEvents();
    constexpr int kCalls = 500;
    const auto start = Clock::now();
    for (int i = 0; i < kCalls; ++i) log.AddLog("Kunden: 1000/1000000");
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kCalls;
}

void makeSources(const fs::path& dir, std::int32_t records, const fs::path& vdb,
                 const fs::path& plain) {
    fs::create_directories(dir);
    if (!fs::exists(vdb)) {
        std::cerr << "Erzeuge " << vdb << " …\n";
        bench::writeVdbSource(vdb.string() + ".part", records);
        fs::rename(vdb.string() + ".part", vdb);
    }
    if (!fs::exists(plain)) {
        std::cerr << "Erzeuge " << plain << " …\n";
        bench::writeSqliteSource(plain.string() + ".part", records);
        fs::rename(plain.string() + ".part", plain);
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"Whole-import benchmark against SQLite's own bulk copy"};
    std::int32_t records = 1000000;
    std::string dataDir = "bench-data";
    bool generateOnly = false;
    cli.add_option("--records", records, "records in the large table")->check(CLI::PositiveNumber);
    cli.add_option("--data", dataDir, "folder for the generated sources");
    cli.add_flag("--generate-only", generateOnly, "only make the sources");
    CLI11_PARSE(cli, argc, argv);

    const fs::path dir = fs::absolute(dataDir);
    const std::string size = std::to_string(records);
    const fs::path vdbSource = dir / ("source-" + size + ".vdb");
    const fs::path plainSource = dir / ("source-" + size + ".sqlite");
    makeSources(dir, records, vdbSource, plainSource);
    if (generateOnly) return 0;

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const fs::path vdbTarget = dir / "target.vdb";
    fs::remove(vdbTarget);
    auto server = engine::sqlite::createServer();
    server->OpenDatabase(vdbSource.string(), bench::kUser, bench::kPassword, 0x30030)
        ->CreateDatabase(vdbTarget.string(), 1, 0, engine::Variant::missing());

    QPlainTextEdit pane;
    pane.show();
    TimedLogView view(pane);
    dbcopy::QtEventYield yield;
    dbcopy::QtFileProbe files;
    dbcopy::ProgressLog log(view, yield);
    BenchForm form(vdbSource, vdbTarget);
    dbcopy::ImportRun run(form, log, yield, files, [] { return engine::sqlite::createServer(); });
    EventLoopGapMeter gaps(view);
    run.RunImport();
    const long rssKilobytes = peakRssKilobytes();

    const std::string lastLine = pane.toPlainText().trimmed().split('\n').last().toStdString();
    if (lastLine != "Import erfolgreich abgeschlossen.") {
        std::cerr << "Der Import ist fehlgeschlagen:\n" << pane.toPlainText().toStdString() << "\n";
        return 1;
    }

    const double total = records + 2.0 * bench::kSmallTableRecords;
    const double ours = total / view.seconds();
    const double baseline = total / bench::runSqliteBaseline(plainSource, dir / "baseline-target.sqlite");
    std::printf("records=%d\n", records);
    std::printf("ours_records_per_second=%.0f\n", ours);
    std::printf("baseline_records_per_second=%.0f\n", baseline);
    std::printf("peak_rss_mb=%.1f\n", rssKilobytes / 1024.0);
    std::printf("longest_event_loop_gap_ms=%.1f\n", gaps.longestMilliseconds());
    std::printf("addlog_us_at_10_lines=%.2f\n", addLogMicroseconds(10));
    std::printf("addlog_us_at_100000_lines=%.2f\n", addLogMicroseconds(100000));
    std::printf("ratio=%.3f\n", ours / baseline);
    return 0;
}
