#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FaultVfs.h"
#include "ImportRig.h"
#include "PlainSqlite.h"
#include "SampleFiles.h"
#include "StoredRecords.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbProgram.h"
#include "engine/ErrorCodes.h"

namespace reliability {
namespace {

using namespace testsupport;  // the import rig and its sample files

namespace fs = std::filesystem;
namespace codes = engine::codes;

constexpr int kKunden = 12000;  // more than one bulk batch: some commits fall inside the copy
constexpr int kTermine = 2000;

// Where in the run the first failed write was reported.
enum class Phase { None, Creation, TableCopy, LaterStep };

struct FaultRun {
    std::vector<std::string> lines;
    Phase phase = Phase::None;
    std::size_t reportAt = 0;  // index of the "Fehler" line
};

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

Phase phaseOf(const std::vector<std::string>& lines, std::size_t reportAt) {
    if (lines[reportAt - 1] == "Die Ziel-DB ist nicht vorhanden. Sie wird angelegt.") {
        return Phase::Creation;
    }
    const auto copyStart = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return startsWith(line, "Exportvorgang für Tabelle ");
    });
    const auto rebuild = std::find(lines.begin(), lines.end(), "Indizes werden aufgebaut");
    const auto report = lines.begin() + static_cast<std::ptrdiff_t>(reportAt);
    // A report after a table's final line comes from a step between two tables' copies.
    const bool insideCopy = copyStart < report && report < rebuild &&
                            !lines[reportAt - 1].ends_with(" Datensätze exportiert.");
    return insideCopy ? Phase::TableCopy : Phase::LaterStep;
}

// Where the first write fails: the nth write from the start of the run, or the nth after the
// run has written a given line.
struct FaultPoint {
    int nth;
    const char* afterLine = nullptr;
};

class WriteFaultTest : public testing::TestWithParam<int> {
protected:
    // One import into a new target in its own folder, writes failing from the point on with
    // the parameter's error; they work again from the moment the error is reported.
    FaultRun runFailingAt(const FaultPoint& point) {
        m_folder = m_dir.path() / ("lauf" + std::to_string(++m_runs));
        fs::create_directory(m_folder);
        copyLargeSource(source(), kKunden, kTermine);
        ImportRig rig;
        rig.useFiles(source(), target());
        const std::string armingEnd = point.afterLine ? point.afterLine + std::string("\r\n") : "";
        rig.yield.onYieldNow = [&] {
            if (rig.logText().find("Fehler 0x") != std::string::npos) {
                m_vfs.disarm();
            } else if (!armingEnd.empty() && rig.logText().ends_with(armingEnd)) {
                m_vfs.failWritesFrom(point.nth, GetParam());
            }
        };
        if (point.nth > 0 && !point.afterLine) m_vfs.failWritesFrom(point.nth, GetParam());
        const int writesBefore = m_vfs.writes();
        FaultRun run;
        run.lines = rig.run();
        m_vfs.disarm();
        m_lastRunWrites = m_vfs.writes() - writesBefore;
        for (std::size_t i = 0; i < run.lines.size(); ++i) {
            if (startsWith(run.lines[i], "Fehler 0x")) {
                run.reportAt = i;
                run.phase = phaseOf(run.lines, i);
                break;
            }
        }
        return run;
    }

    std::string source() const { return (m_folder / "quelle.vdb").string(); }
    std::string target() const { return (m_folder / "ziel.vdb").string(); }

    // The target opens, is sound and holds only whole records of the source; nothing else
    // but source and target is left in the folder.
    void expectSoundTarget() {
        const auto records = storedRecords(target());
        EXPECT_EQ(integrityCheck(target()), "ok");
        expectWholeRecords(records.at("Kunden"), kundenRows(kKunden));
        expectWholeRecords(records.at("Termine"), termineRows(kTermine));
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            names.insert(entry.path().filename().string());
        }
        EXPECT_EQ(names, (std::set<std::string>{"quelle.vdb", "ziel.vdb"}));
    }

    testsupport::TempDir m_dir;
    fs::path m_folder;
    testsupport::FaultVfs m_vfs;
    int m_lastRunWrites = 0;
    int m_runs = 0;
};

TEST_P(WriteFaultTest, FailedWritesAreReportedAndLeaveASoundTarget) {
    runFailingAt({0});
    const int writes = m_lastRunWrites;
    ASSERT_GT(writes, 20);
    const char* const prepare = "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.";
    const FaultPoint points[] = {{1},
                                 {3},
                                 {writes / 8},
                                 {writes / 3},
                                 {writes / 2},
                                 {1, prepare},
                                 {1, "Öffne Zieldatenbank erneut."},
                                 {1, "Kunden: 1000/12000"},
                                 {1, "Indizes werden aufgebaut"},
                                 {1, "Tabelle Kunden, Index ID"},
                                 {3, "Tabelle Kunden, Index ID"}};
    std::set<Phase> phases;
    for (const FaultPoint& point : points) {
        SCOPED_TRACE("failing from write " + std::to_string(point.nth) + " after " +
                     (point.afterLine ? point.afterLine : "the start") + ", of " +
                     std::to_string(writes));
        const FaultRun run = runFailingAt(point);
        phases.insert(run.phase);
        ASSERT_FALSE(run.lines.empty());
        if (run.phase == Phase::None) {
            EXPECT_EQ(run.lines.back(), kSuccessLine);
            continue;
        }
        const std::vector<std::string> report(run.lines.begin() + run.reportAt,
                                              run.lines.begin() + run.reportAt + 2);
        EXPECT_EQ(report[1].rfind("Err.Description: ", 0), 0u);
        EXPECT_NE(report[1].find(GetParam() == SQLITE_FULL ? "Der Datenträger ist voll"
                                                           : "Schreibfehler"),
                  std::string::npos)
            << report[1];
        if (run.phase == Phase::Creation) {
            EXPECT_EQ(report[0], errorLine(codes::CannotCreate));
            EXPECT_EQ(run.reportAt + 2, run.lines.size()) << "the run goes on after creation";
            EXPECT_EQ(snapshot(m_folder).size(), 1u) << "a half-made target was left";
            continue;
        }
        EXPECT_EQ(report[0], errorLine(codes::IoError));
        if (run.phase == Phase::TableCopy) {
            EXPECT_EQ(run.lines.back(), kSuccessLine) << "an error in a table ends only it";
        } else {
            EXPECT_EQ(run.reportAt + 2, run.lines.size()) << "an error outside ends the run";
        }
        expectSoundTarget();
    }
    EXPECT_TRUE(phases.count(Phase::Creation));
    EXPECT_TRUE(phases.count(Phase::TableCopy));
    EXPECT_TRUE(phases.count(Phase::LaterStep));
}

// A target without indexes: the records of the last batch are written only when the target
// is released at the end. A failure there must not pass for a successful import.
TEST_P(WriteFaultTest, FailureAfterTheCopyIsReportedOrLosesNothing) {
    m_folder = m_dir.path();
    copyLargeSource(source(), kKunden, kTermine);
    auto kunden = kundenTable();
    kunden.indexes.clear();
    testsupport::createVdb(target(), {kunden, termineTable()});
    ImportRig rig;
    rig.useFiles(source(), target());
    rig.yield.onYieldNow = [&] {
        if (rig.logText().ends_with("Indizes werden aufgebaut\r\n")) {
            m_vfs.failWritesFrom(1, GetParam());
        }
    };
    const auto lines = rig.run();
    m_vfs.disarm();

    ASSERT_GE(lines.size(), 2u);
    const auto records = storedRecords(target());
    if (lines.back() == kSuccessLine) {
        EXPECT_EQ(records.at("Kunden").size(), static_cast<std::size_t>(kKunden));
        EXPECT_EQ(records.at("Termine").size(), static_cast<std::size_t>(kTermine));
    } else {
        EXPECT_EQ(lines[lines.size() - 2], errorLine(codes::IoError));
    }
    EXPECT_EQ(integrityCheck(target()), "ok");
}

INSTANTIATE_TEST_SUITE_P(Errors, WriteFaultTest, testing::Values(SQLITE_FULL, SQLITE_IOERR),
                         [](const auto& info) {
                             return std::string(info.param == SQLITE_FULL ? "DiskFull"
                                                                          : "WriteError");
                         });

// The disk fills up while the first index is rebuilt and stays full until the run has ended:
// the file is left mid-write with every index suspended. vdb info shows both, and vdb repair,
// once there is room again, recovers the file and rebuilds them without touching a record.
TEST(FullDiskDuringRebuild, LeavesSuspendedIndexesThatRepairRebuilds) {
    testsupport::TempDir dir;
    testsupport::FaultVfs vfs;
    const fs::path folder = dir.path() / "lauf";
    fs::create_directory(folder);
    const std::string source = (folder / "quelle.vdb").string();
    const std::string target = (folder / "ziel.vdb").string();
    copyLargeSource(source, kKunden, kTermine);
    auto kunden = kundenTable();
    kunden.indexes.push_back({"Name", "Name", {"Name"}, false});
    testsupport::createVdb(target, {kunden, termineTable()});
    ImportRig rig;
    rig.useFiles(source, target);
    rig.yield.onYieldNow = [&] {
        if (rig.logText().ends_with("Tabelle Kunden, Index ID\r\n")) vfs.failWritesFrom(1);
    };
    const auto lines = rig.run();
    vfs.disarm();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], errorLine(codes::IoError));

    const std::string login = " -p " + testsupport::kPassword;
    const FolderSnapshot leftBehind = snapshot(folder);
    const ProgramRun info = runProgram(dir, "info " + shellWord(target) + login);
    EXPECT_EQ(info.code, 3) << info.out << info.err;
    EXPECT_EQ(snapshot(folder), leftBehind) << "info changed the file";
    EXPECT_NE(info.out.find("\nZustand: beim letzten Schreiben nicht sauber geschlossen"),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("ID „ID“: ID (eindeutig), ausgesetzt – Neuaufbau nötig\n"),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("Name „Name“: Name, ausgesetzt – Neuaufbau nötig\n"), std::string::npos)
        << info.out;

    // Any SQLite reader recovers a copy of the file by itself: its records are the ones stored.
    const std::string recovered = dir.file("kopie.vdb");
    for (const char* suffix : {"", "-wal", "-shm"}) {
        if (fs::exists(target + suffix)) fs::copy_file(target + suffix, recovered + suffix);
    }
    execSql(recovered, "PRAGMA journal_mode=DELETE");
    const std::string kundenId =
        queryRows(recovered, "SELECT id FROM vdb_tables WHERE name = 'Kunden'").at(0).at(0);
    const std::string allRecords = "SELECT * FROM data_" + kundenId + " ORDER BY rowid";
    const auto before = queryRows(recovered, allRecords);

    const ProgramRun repair = runProgram(dir, "repair " + shellWord(target) + login);
    EXPECT_EQ(repair.code, 0) << repair.out << repair.err;
    EXPECT_NE(repair.out.find("Integritätsprüfung: ok"), std::string::npos) << repair.out;
    EXPECT_EQ(queryRows(target, allRecords), before);
    EXPECT_EQ(integrityCheck(target), "ok");
    EXPECT_EQ(runProgram(dir, "info " + shellWord(target) + login).code, 0);
    expectWholeRecords(storedRecords(target).at("Kunden"), kundenRows(kKunden));
}

}  // namespace
}  // namespace reliability
