// Times our whole import against SQLite's own bulk copy of the same records.
//
//   import_bench [--records N] [--data DIR] [--generate-only] [--addlog-only] [--trace]
//
// --trace prints to standard error every log line of the imports with the seconds since its
// run started, and every event-loop gap over kTracedGap with the line that came before it.
//
// The sources are made once per size in DIR and reused. The import runs twice with the real
// engine, progress log, log pane and Qt yield under the offscreen platform: with the delete
// option off into a freshly created target, then with it on against that now full target;
// then the value-by-value comparison of the source with that target.

#include <sys/resource.h>
#include <unistd.h>

#include "BenchData.h"
#include "SqliteBaseline.h"
#include "ThreadCpuTime.h"
#include "copy/ImportForm.h"
#include "copy/ImportRun.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/sqlite/SqliteEngine.h"
#include "log/ProgressLog.h"
#include "platform/PlainTextLogView.h"
#include "platform/QtEventYield.h"
#include "platform/QtFileProbe.h"
#include "verify/ContentComparison.h"
#include "verify/ContentLines.h"

#include <QApplication>
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

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kTracedGap{25};
bool g_trace = false;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Under --trace: the last log line, for a gap to be reported beside.
struct Trace {
    Clock::time_point start = Clock::now();
    std::string lastLine;
};
Trace g_runTrace;

// The window's fields as the benchmark fills them: target exists, source credentials.
class BenchForm : public dbcopy::ImportForm {
public:
    BenchForm(fs::path source, fs::path target, int deleteOption)
        : m_source(std::move(source)), m_target(std::move(target)), m_delete(deleteOption) {}

    std::string text(dbcopy::FormText field) const override {
        switch (field) {
            case dbcopy::FormText::txtDatabase:
                return m_source.string();
            case dbcopy::FormText::txtDatabaseDest:
                return m_target.string();
            case dbcopy::FormText::txtUsername:
            case dbcopy::FormText::txtDestUser:
                return bench::kUser;
            case dbcopy::FormText::txtPassword:
            case dbcopy::FormText::txtDestPassword:
                return bench::kPassword;
        }
        return {};
    }
    bool isDestUserEnabled() const override { return false; }
    int deleteOption() const override { return m_delete; }
    void setDeleteOption(int value) override { m_delete = value; }

private:
    fs::path m_source;
    fs::path m_target;
    int m_delete;
};

// The log pane, watched: when the first and the last line came.
class TimedLogView : public dbcopy::LogView {
public:
    explicit TimedLogView(QPlainTextEdit& pane) : m_pane(pane) {}

    void append(std::string_view text) override {
        const auto now = Clock::now();
        if (!m_first) m_first = now;
        m_last = now;
        if (g_trace) {
            g_runTrace.lastLine = std::string(text);
            std::fprintf(stderr, "%8.3f  %s\n", secondsSince(g_runTrace.start),
                         g_runTrace.lastLine.c_str());
        }
        m_pane.append(text);
    }
    void moveCaretToEnd() override { m_pane.moveCaretToEnd(); }

    double seconds() const { return std::chrono::duration<double>(m_last - *m_first).count(); }

private:
    dbcopy::PlainTextLogView m_pane;
    std::optional<Clock::time_point> m_first;
    Clock::time_point m_last;
};

// The longest time the event loop went without a round of event processing, from start() to
// stop(), seen by a timer that fires at every round.
class EventLoopGapMeter {
public:
    EventLoopGapMeter() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_last = Clock::now();
        m_timer.start(0);
    }
    void stop() {
        tick();
        m_timer.stop();
    }
    double longestMilliseconds() const { return m_longest.count() / 1000.0; }

private:
    void tick() {
        const auto now = Clock::now();
        const auto gap = std::chrono::duration_cast<std::chrono::microseconds>(now - m_last);
        const double threadMs = bench::threadCpuMilliseconds();
        m_longest = std::max(m_longest, gap);
        m_last = now;
        if (g_trace && gap > kTracedGap) {
            std::fprintf(stderr, "%8.3f  gap of %.1f ms (%.1f ms on the processor) after \"%s\"\n",
                         secondsSince(g_runTrace.start), gap.count() / 1000.0,
                         threadMs - m_lastThreadMs, g_runTrace.lastLine.c_str());
        }
        m_lastThreadMs = threadMs;
    }

    QTimer m_timer;
    Clock::time_point m_last;
    double m_lastThreadMs = 0;
    std::chrono::microseconds m_longest{0};
};

struct ImportFigures {
    double recordsPerSecond = 0;  // from the first log line to the last
    double longestGapMs = 0;      // from Start to the return of the run, after its last line
};

// One import of source into target as Start runs it, on a new log pane; exits the process
// when the run does not end with success.
ImportFigures runImport(const fs::path& source, const fs::path& target, int deleteOption,
                        double records) {
    QPlainTextEdit pane;
    pane.resize(417, 177);  // the window's log pane
    pane.show();
    TimedLogView view(pane);
    dbcopy::QtEventYield yield;
    dbcopy::QtFileProbe files;
    dbcopy::ProgressLog log(view, yield);
    BenchForm form(source, target, deleteOption);
    dbcopy::ImportRun run(form, log, yield, files, [&yield] {
        return engine::sqlite::createServer([&yield] { yield.yieldPerRecord(); });
    });
    EventLoopGapMeter gaps;
    g_runTrace = {};
    gaps.start();
    run.RunImport();
    gaps.stop();

    const QString text = pane.toPlainText();
    if (text.trimmed().split('\n').last() != QStringLiteral("Import erfolgreich abgeschlossen.")) {
        std::cerr << "Der Import ist fehlgeschlagen:\n" << text.toStdString() << "\n";
        std::exit(1);
    }
    return {records / view.seconds(), gaps.longestMilliseconds()};
}

// Records per second of the value-by-value comparison of source with target, both opened
// read-only, with the window's yield; exits the process when a table is not found equal.
double compareRecordsPerSecond(const fs::path& source, const fs::path& target, double records) {
    dbcopy::QtEventYield yield;
    const auto start = Clock::now();
    const auto server = engine::sqlite::createServer();
    const auto sourceDb = server->OpenDatabase(source.string(), bench::kUser, bench::kPassword,
                                               engine::open_flags::ReadOnly);
    const auto targetDb = server->OpenDatabase(target.string(), bench::kUser, bench::kPassword,
                                               engine::open_flags::ReadOnly);
    const auto results = dbcopy::compareContent(*sourceDb, *targetDb, yield);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (dbcopy::differingTables(results) > 0) {
        std::cerr << "Der Vergleich fand Abweichungen: " << dbcopy::contentTotalLine(results)
                  << "\n";
        std::exit(1);
    }
    return records / seconds;
}

long peakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Microseconds per AddLog call into a log pane that already holds `lines` lines, over at least
// a second of calls and including the painting they cause until the pane shows the last one.
double addLogMicroseconds(int lines) {
    QPlainTextEdit pane;
    pane.resize(417, 177);  // the window's log pane
    pane.show();
    dbcopy::PlainTextLogView view(pane);
    dbcopy::QtEventYield yield;
    dbcopy::ProgressLog log(view, yield);
    QString earlier;
    for (int i = 0; i < lines; ++i) earlier += QStringLiteral("Kunden: %1/1000000\n").arg(i);
    pane.setPlainText(earlier);
    view.moveCaretToEnd();
    QCoreApplication::processEvents();

    int calls = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(1)) {
        for (int i = 0; i < 100; ++i, ++calls) log.AddLog("Kunden: " + std::to_string(calls));
    }
    view.showPendingLines();
    QCoreApplication::processEvents();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
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

void removeTarget(const fs::path& target) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(target.string() + suffix);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{"Whole-import benchmark against SQLite's own bulk copy"};
    std::int32_t records = 1000000;
    std::string dataDir = "bench-data";
    bool generateOnly = false;
    bool addLogOnly = false;
    cli.add_option("--records", records, "records in the large table")->check(CLI::PositiveNumber);
    cli.add_option("--data", dataDir, "folder for the generated sources");
    cli.add_flag("--generate-only", generateOnly, "only make the sources");
    cli.add_flag("--addlog-only", addLogOnly, "only time AddLog (for a profiler)");
    cli.add_flag("--trace", g_trace, "print the imports' log lines and event-loop gaps");
    CLI11_PARSE(cli, argc, argv);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (addLogOnly) {
        QApplication app(argc, argv);
        std::printf("addlog_us_at_100000_lines=%.2f\n", addLogMicroseconds(100000));
        return 0;
    }

    const fs::path dir = fs::absolute(dataDir);
    const std::string size = std::to_string(records);
    const fs::path vdbSource = dir / ("source-" + size + ".vdb");
    const fs::path plainSource = dir / ("plain-source-" + size + ".sqlite");
    makeSources(dir, records, vdbSource, plainSource);
    if (generateOnly) return 0;

    QApplication app(argc, argv);
    const fs::path vdbTarget = dir / ("target-" + size + ".vdb");
    removeTarget(vdbTarget);
    engine::sqlite::createServer()
        ->OpenDatabase(vdbSource.string(), bench::kUser, bench::kPassword, 0x30030)
        ->CreateDatabase(vdbTarget.string(), 1, 0, engine::Variant::missing());

    const double total = records + 2.0 * bench::kSmallTableRecords;
    // Each timed part starts once the files written before it are on disk, so that no part
    // pays for the writing left over from the one before.
    ::sync();
    const ImportFigures fresh = runImport(vdbSource, vdbTarget, 0, total);
    ::sync();
    const ImportFigures emptied = runImport(vdbSource, vdbTarget, 1, total);
    ::sync();
    const double compared = compareRecordsPerSecond(vdbSource, vdbTarget, total);
    const long rssKilobytes = peakRssKilobytes();
    removeTarget(vdbTarget);

    const fs::path baselineTarget = dir / ("baseline-target-" + size + ".sqlite");
    ::sync();
    const double byColumn = total / bench::runSqliteBaseline(plainSource, baselineTarget,
                                                             bench::BaselineCopy::ByColumn);
    ::sync();
    const double wholeRecords = total / bench::runSqliteBaseline(plainSource, baselineTarget,
                                                                 bench::BaselineCopy::WholeRecords);

    std::printf("records=%d\n", records);
    std::printf("ours_records_per_second=%.0f\n", fresh.recordsPerSecond);
    std::printf("whole_run_longest_gap_ms=%.1f\n", fresh.longestGapMs);
    std::printf("ours_records_per_second_delete_on_full_target=%.0f\n", emptied.recordsPerSecond);
    std::printf("whole_run_longest_gap_ms_delete_on_full_target=%.1f\n", emptied.longestGapMs);
    std::printf("compare_records_per_second=%.0f\n", compared);
    std::printf("compare_against_copy_ratio=%.3f\n", compared / fresh.recordsPerSecond);
    std::printf("baseline_records_per_second=%.0f\n", byColumn);
    std::printf("baseline_whole_records_per_second=%.0f\n", wholeRecords);
    std::printf("peak_rss_mb=%.1f\n", rssKilobytes / 1024.0);
    std::printf("addlog_us_at_10_lines=%.2f\n", addLogMicroseconds(10));
    std::printf("addlog_us_at_100000_lines=%.2f\n", addLogMicroseconds(100000));
    std::printf("ratio_whole_records=%.3f\n", fresh.recordsPerSecond / wholeRecords);
    std::printf("ratio=%.3f\n", fresh.recordsPerSecond / byColumn);
    return 0;
}
