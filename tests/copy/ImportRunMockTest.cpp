#include "copy/ImportRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "CountingYield.h"
#include "FakeFileProbe.h"
#include "FakeImportForm.h"
#include "FaultLineRecorder.h"
#include "MemoryLogView.h"
#include "MockDatabaseTree.h"
#include "MockEngine.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "log/ProgressLog.h"
#include "report/RunRecorder.h"

namespace {

using copytest::MockDatabaseTree;
using copytest::MockTableSpec;
using dbcopy::FormText;
using testing::Return;
using testing::Throw;
using namespace testsupport;

const engine::Error kMissingTable(engine::codes::NoSuchTable, "Tabelle nicht gefunden");

const std::vector<std::string> kOpeningLines = {
    "Quelldatenbank wird schreibgeschützt geöffnet", "Öffne Zieldatenbank.",
    "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.",
    "Öffne Zieldatenbank erneut."};

std::vector<std::string> concat(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<std::string> closingLines(const std::vector<std::string>& indexLines) {
    return concat(concat({"Indizes werden aufgebaut"}, indexLines),
                  {"", "Schließe Zieldatenbank", "Import erfolgreich abgeschlossen."});
}

// An import against mock databases: the source, the first opening of the target and its
// reopening are three trees, handed out by the server in the order they are opened.
class MockImport {
public:
    MockImport(const std::vector<MockTableSpec>& sourceTables,
               const std::vector<MockTableSpec>& targetTables)
        : source(sourceTables), target(targetTables), reopened(targetTables) {
        form.texts = {
            {FormText::txtDatabase, "quelle.vdb"}, {FormText::txtUsername, "ADMIN"},
            {FormText::txtPassword, "geheim"},     {FormText::txtDatabaseDest, "ziel.vdb"},
            {FormText::txtDestUser, "ZIEL"},       {FormText::txtDestPassword, "zpw"}};
        files.answer = true;
        ON_CALL(*server, OpenDatabase)
            .WillByDefault([this](const std::string&, const std::string&, const std::string&,
                                  std::int32_t flags) {
                if (flags == 0x30030) return source.take();
                return ++m_targetOpenings == 1 ? target.take() : reopened.take();
            });
    }

    void runImport() { run.RunImport(); }

    MockDatabaseTree source;
    MockDatabaseTree target;
    MockDatabaseTree reopened;
    std::shared_ptr<MockDbServer> server = makeMock<MockDbServer>();
    FakeImportForm form;
    MemoryLogView view;
    CountingYield yield;
    FakeFileProbe files;
    dbcopy::ProgressLog log{view, yield};
    int serverCreations = 0;
    dbcopy::ImportRun run{form, log, yield, files, [this] {
                              ++serverCreations;
                              return server;
                          }};

private:
    int m_targetOpenings = 0;
};

TEST(ImportRunWithMockEngine, EmptyingLoopSkipsMissingTableAndEmptiesTheRest) {
    MockImport import({}, {{"A"}, {"B"}, {"C"}});
    import.form.deleteValue = 1;
    ON_CALL(import.target.table(0), DeleteAllRecords).WillByDefault(Throw(kMissingTable));
    EXPECT_CALL(import.target.table(1), DeleteAllRecords).Times(1);
    EXPECT_CALL(import.target.table(2), DeleteAllRecords).Times(1);
    import.runImport();

    EXPECT_EQ(
        import.view.lines(),
        concat({"Quelldatenbank wird schreibgeschützt geöffnet", "Öffne Zieldatenbank.",
                "Lösche bestehende Datensätze in der Ziel-DB",
                "Die Tabelle A ist in der Ziel-DB nicht vorhanden. Tabelle wird übersprungen.",
                "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.",
                "Öffne Zieldatenbank erneut."},
               closingLines({})));
    EXPECT_EQ(import.form.deleteWrites, std::vector<int>{0});
}

TEST(ImportRunWithMockEngine, FailedIndexLineStillRebuildsThatIndex) {
    MockImport import({}, {{"Kunden", {"ID", "Name"}}});
    EXPECT_CALL(import.reopened.table(0), DisplayName(0))
        .WillOnce(Throw(kMissingTable))
        .WillRepeatedly(Return("Kunden"));
    EXPECT_CALL(import.reopened.index(0, 0), Rebuild).Times(1);
    EXPECT_CALL(import.reopened.index(0, 1), Rebuild).Times(1);
    import.runImport();

    EXPECT_EQ(import.view.lines(),
              concat(kOpeningLines,
                     closingLines({"Die Tabelle Kunden ist in der Ziel-DB nicht vorhanden. "
                                   "Tabelle wird übersprungen.",
                                   "Tabelle Kunden, Index Name"})));
}

TEST(ImportRunWithMockEngine, FailedRebuildGoesOnWithTheNextIndex) {
    MockImport import({}, {{"Kunden", {"ID", "Name"}}, {"Termine", {"Datum"}}});
    ON_CALL(import.reopened.index(0, 0), Rebuild).WillByDefault(Throw(kMissingTable));
    EXPECT_CALL(import.reopened.index(0, 1), Rebuild).Times(1);
    EXPECT_CALL(import.reopened.index(1, 0), Rebuild).Times(1);
    import.runImport();

    EXPECT_EQ(import.view.lines(),
              concat(kOpeningLines,
                     closingLines({"Tabelle Kunden, Index ID",
                                   "Die Tabelle Kunden ist in der Ziel-DB nicht vorhanden. "
                                   "Tabelle wird übersprungen.",
                                   "Tabelle Kunden, Index Name", "Tabelle Termine, Index Datum"})));
}

// The missing-table code raised where no table loop runs ends the run like any other error.
TEST(ImportRunWithMockEngine, MissingTableCodeOutsideTheLoopsEndsTheRun) {
    {
        MockImport import({}, {{"A"}});
        ON_CALL(import.target.database(), PrepareKeyStorage).WillByDefault(Throw(kMissingTable));
        EXPECT_CALL(import.reopened.database(), KeyStorageAccess).Times(0);
        import.runImport();
        EXPECT_EQ(import.view.lines(),
                  (std::vector<std::string>{
                      "Quelldatenbank wird schreibgeschützt geöffnet", "Öffne Zieldatenbank.",
                      "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.",
                      "Fehler 0x80041040", "Err.Description: Tabelle nicht gefunden"}));
    }
    {
        MockImport import({{"A"}}, {{"A"}});
        ON_CALL(import.reopened.database(), KeyStorageAccess).WillByDefault(Throw(kMissingTable));
        EXPECT_CALL(import.source.table(0), DisplayName).Times(0);
        import.runImport();
        EXPECT_EQ(import.view.lines(),
                  concat(kOpeningLines,
                         {"Fehler 0x80041040", "Err.Description: Tabelle nicht gefunden"}));
    }
}

TEST(ImportRunWithMockEngine, DatabasesAreReleasedAtTheirSteps) {
    MockImport import({{"A"}}, {{"A", {"ID"}}});
    std::vector<std::string> releases;
    const auto released = [&](const std::string& what) {
        return [&, what] {
            releases.push_back(what + " after " + std::to_string(import.view.lines().size()));
        };
    };
    ON_CALL(import.source.database(), Die).WillByDefault(released("source"));
    ON_CALL(import.target.database(), Die).WillByDefault(released("target"));
    ON_CALL(import.reopened.database(), Die).WillByDefault(released("reopened"));
    import.runImport();

    // Lines: 4 opening lines, 2 of the table copy, "Indizes ...", the index line, "", then
    // "Schließe Zieldatenbank" and the final line.
    EXPECT_EQ(releases,
              (std::vector<std::string>{"target after 3", "source after 8", "reopened after 10"}));
    EXPECT_EQ(import.view.lines().size(), 11u);
}

TEST(ImportRunWithMockEngine, FailedRunReportsThenReleasesTargetBeforeSource) {
    MockImport import({{"A"}}, {{"A"}});
    ON_CALL(import.reopened.database(), KeyStorageAccess)
        .WillByDefault(Throw(engine::Error(engine::codes::IoError, "Schreibfehler")));
    std::vector<std::string> releases;
    ON_CALL(import.source.database(), Die).WillByDefault([&] {
        releases.push_back("source after " + std::to_string(import.view.lines().size()));
    });
    ON_CALL(import.reopened.database(), Die).WillByDefault([&] {
        releases.push_back("reopened after " + std::to_string(import.view.lines().size()));
    });
    import.runImport();
    EXPECT_EQ(releases, (std::vector<std::string>{"reopened after 6", "source after 6"}));
}

TEST(ImportRunWithMockEngine, FailingLogInTheErrorReportStillEndsTheRunNormally) {
    MockImport import({}, {});
    ON_CALL(*import.server, OpenDatabase)
        .WillByDefault(Throw(engine::Error(engine::codes::AccessDenied, "Zugriff verweigert")));
    import.view.failOnceAt("Fehler 0x");
    EXPECT_NO_THROW(import.runImport());
    EXPECT_EQ(import.view.lines(),
              std::vector<std::string>{"Quelldatenbank wird schreibgeschützt geöffnet"});
}

TEST(ImportRunWithMockEngine, FailureInTheTableCopysReportEndsTheRunThroughItsHandler) {
    MockImport import({{"A"}, {"B"}}, {{"A"}, {"B"}});
    ON_CALL(import.source.table(0), DisplayName)
        .WillByDefault(Throw(engine::Error(engine::codes::IoError, "Lesefehler")));
    EXPECT_CALL(import.source.table(1), DisplayName).Times(0);
    import.view.failOnceAt("Fehler 0x");
    import.runImport();
    EXPECT_EQ(
        import.view.lines(),
        concat(kOpeningLines, {"Fehler 0x00000033",
                               "Err.Description: Interner Fehler: log pane refused the text"}));
}

TEST(ImportRunWithMockEngine, FailedServerCreationFailsThatRunAndTheNextRunTriesAgain) {
    FakeImportForm form;
    form.texts[FormText::txtDestUser] = "ZIEL";
    MemoryLogView view;
    CountingYield yield;
    FakeFileProbe files;
    dbcopy::ProgressLog log(view, yield);
    auto server = makeMock<MockDbServer>();
    ON_CALL(*server, OpenDatabase)
        .WillByDefault(Throw(engine::Error(engine::codes::AccessDenied, "Zugriff verweigert")));
    int creations = 0;
    dbcopy::ImportRun run(form, log, yield, files, [&]() -> std::shared_ptr<engine::DbServer> {
        ++creations;
        if (creations == 1) return nullptr;
        if (creations == 2) throw std::runtime_error("kein Modul");
        return server;
    });
    const std::vector<std::string> expected = {
        "Quelldatenbank wird schreibgeschützt geöffnet",
        "Fehler 0x000001AD",
        "Err.Description: Das Datenbankmodul konnte nicht gestartet werden.",
        "Quelldatenbank wird schreibgeschützt geöffnet",
        "Fehler 0x00000033",
        "Err.Description: Interner Fehler: kein Modul",
        "Quelldatenbank wird schreibgeschützt geöffnet",
        "Fehler 0x80041003",
        "Err.Description: Zugriff verweigert",
        "Quelldatenbank wird schreibgeschützt geöffnet",
        "Fehler 0x80041003",
        "Err.Description: Zugriff verweigert"};
    EXPECT_CALL(*server, OpenDatabase).Times(2);
    for (int i = 0; i < 4; ++i) run.RunImport();
    EXPECT_EQ(creations, 3);  // the server made by the third run is kept for the fourth
    EXPECT_EQ(view.lines(), expected);
}

}  // namespace

namespace {

// A target that holds one record less than it stored must never pass as a clean copy.
TEST(ImportRunWithMockEngine, TargetCountShortOfTheCopyFailsTheCheck) {
    MockImport import({{"Kunden"}}, {{"Kunden"}});
    dbcopy::RunRecorder recorder;
    import.run.addObserver(recorder);
    testsupport::FaultLineRecorder faults;
    import.run.addObserver(faults);
    EXPECT_CALL(import.source.table(0), Eof)
        .WillOnce(Return(false))
        .WillOnce(Return(false))
        .WillRepeatedly(Return(true));
    EXPECT_CALL(import.reopened.table(0), RecordCount)
        .WillOnce(Return(3))   // before the copy
        .WillOnce(Return(4));  // after two records stored: one short
    import.runImport();

    EXPECT_EQ(import.view.lines(),
              concat(concat(kOpeningLines,
                            {"Exportvorgang für Tabelle Kunden beginnt.",
                             "Kunden: 2 Datensätze exportiert.",
                             "Prüfung fehlgeschlagen: Tabelle Kunden: 5 Datensätze erwartet, 4 "
                             "vorhanden."}),
                     closingLines({})));
    const dbcopy::RunSummary& summary = recorder.summary();
    EXPECT_EQ(summary.status(), dbcopy::RunStatus::Partial);
    ASSERT_EQ(summary.tables.size(), 1u);
    EXPECT_FALSE(summary.tables[0].verified);
    EXPECT_EQ(summary.tables[0].targetAfter, 4);
    EXPECT_EQ(faults.lines, (std::vector<testsupport::FaultLineRecorder::Line>{
                                {import.view.lines().at(6), dbcopy::LineKind::CheckFailed}}));
}

}  // namespace
