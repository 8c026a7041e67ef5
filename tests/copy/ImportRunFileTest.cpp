#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "FaultLineRecorder.h"
#include "FileImportTest.h"

namespace copytest {
namespace {

using dbcopy::FormText;
using dbcopy::LineKind;
using testsupport::appendRows;
using testsupport::createVdb;
using testsupport::fileBytes;
using testsupport::readRows;
using testsupport::Row;

const std::vector<Row> kTermine = {{engine::Variant("2024-01-02"), engine::Variant(1)},
                                   {engine::Variant("2024-02-03"), engine::Variant(2)}};

class ImportRunWithFiles : public FileImportTest {
protected:
    // Source and target with Kunden and Termine; the source holds 3 customers and 2 dates.
    void makeExample() {
        createVdb(source, {kundenTable(), termineTable()});
        appendRows(source, "Kunden", kundenRows(3));
        appendRows(source, "Termine", kTermine);
        createVdb(target, {kundenTable(), termineTable()});
    }

    static std::vector<std::string> exampleCopyLines() {
        return {"Exportvorgang für Tabelle Kunden beginnt.",
                "Kunden: 3 Datensätze exportiert.",
                "Exportvorgang für Tabelle Termine beginnt.",
                "Termine: 2 Datensätze exportiert.",
                "Indizes werden aufgebaut",
                "Tabelle Kunden, Index ID"};
    }
};

TEST_F(ImportRunWithFiles, TwoTableExampleLogsEveryStepAndCopiesEveryRecord) {
    makeExample();
    runImport();
    EXPECT_EQ(lines(), joined({kOpeningLines, exampleCopyLines(), kClosingLines}));
    EXPECT_EQ(readRows(target, "Kunden"), kundenRows(3));
    EXPECT_EQ(readRows(target, "Termine"), kTermine);
    EXPECT_EQ(yield.now, static_cast<int>(lines().size()));  // one yield per line
    EXPECT_EQ(yield.perRecord, 5);
    EXPECT_EQ(files.asked, std::vector<std::string>{target});
    EXPECT_EQ(rig.serverCreations(), 1);
}

TEST_F(ImportRunWithFiles, LaterRunsKeepTheServerAndAppendAgain) {
    makeExample();
    runImport();
    view = testsupport::MemoryLogView();
    form.deleteValue = 1;  // the unique index ID would refuse the same customers twice
    runImport();
    EXPECT_EQ(rig.serverCreations(), 1);
    EXPECT_EQ(readRows(target, "Kunden"), kundenRows(3));
    EXPECT_EQ(lines().back(), "Import erfolgreich abgeschlossen.");
}

TEST_F(ImportRunWithFiles, SourceTableMissingInTargetIsSkippedAndTheRunGoesOn) {
    createVdb(source, {kundenTable(),
                       {"Notizen", "", {{"Text", engine::sqlite::FieldType::Text}}, {}},
                       termineTable()});
    appendRows(source, "Kunden", kundenRows(2));
    appendRows(source, "Notizen", {{engine::Variant("x")}});
    appendRows(source, "Termine", kTermine);
    createVdb(target, {termineTable(), kundenTable()});
    runImport();

    EXPECT_EQ(
        lines(),
        joined({kOpeningLines,
                {"Exportvorgang für Tabelle Kunden beginnt.", "Kunden: 2 Datensätze exportiert.",
                 "Die Tabelle Notizen ist in der Ziel-DB nicht vorhanden. Tabelle wird "
                 "übersprungen.",
                 "Exportvorgang für Tabelle Termine beginnt.", "Termine: 2 Datensätze exportiert.",
                 "Indizes werden aufgebaut", "Tabelle Kunden, Index ID"},
                kClosingLines}));
    EXPECT_EQ(readRows(target, "Termine"), kTermine);
}

TEST_F(ImportRunWithFiles, SourceWithoutTablesStillRebuildsAndCloses) {
    createVdb(source, {});
    createVdb(target, {kundenTable()});
    runImport();
    EXPECT_EQ(lines(), joined({kOpeningLines,
                               {"Indizes werden aufgebaut", "Tabelle Kunden, Index ID"},
                               kClosingLines}));
}

TEST_F(ImportRunWithFiles, MissingTargetIsCreatedFromTheSourceAndFilled) {
    createVdb(source, {kundenTable(), termineTable()});
    appendRows(source, "Kunden", kundenRows(3));
    appendRows(source, "Termine", kTermine);
    runImport();

    EXPECT_EQ(lines(),
              joined({{kOpeningLines[0], "Die Ziel-DB ist nicht vorhanden. Sie wird angelegt."},
                      {kOpeningLines.begin() + 1, kOpeningLines.end()},
                      exampleCopyLines(),
                      kClosingLines}));
    EXPECT_EQ(readRows(target, "Kunden"), kundenRows(3));
    EXPECT_EQ(readRows(target, "Termine"), kTermine);
}

// A folder, an empty path or a failing existence test count as "no file": the run has the
// engine create the target there, which the engine refuses.
TEST_F(ImportRunWithFiles, PathsThatAreNoFileLeadToCreation) {
    makeExample();
    struct Case {
        std::string path;
        bool probeThrows;
        std::string report;
    };
    for (const Case& c :
         {Case{dir.path().string(), false, "Fehler 0x80041005"},
          Case{"", false, "Fehler 0x80041007"}, Case{target, true, "Fehler 0x80041005"}}) {
        SCOPED_TRACE(c.path);
        view = testsupport::MemoryLogView();
        form.texts[FormText::txtDatabaseDest] = c.path;
        files.throws = c.probeThrows;
        runImport();
        const auto written = lines();
        ASSERT_EQ(written.size(), 4u);
        EXPECT_EQ(written[1], "Die Ziel-DB ist nicht vorhanden. Sie wird angelegt.");
        EXPECT_EQ(written[2], c.report);
    }
    EXPECT_TRUE(readRows(target, "Kunden").empty());
}

TEST_F(ImportRunWithFiles, DeleteOptionEmptiesEveryTargetTableAndIsSwitchedOff) {
    makeExample();
    std::filesystem::remove(target);
    createVdb(target, {{"Archiv", "", {{"Text", engine::sqlite::FieldType::Text}}, {}},
                       kundenTable(),
                       termineTable()});
    appendRows(target, "Archiv", {{engine::Variant("alt")}});
    appendRows(target, "Kunden", kundenRows(2, 100));
    form.deleteValue = 1;
    runImport();

    EXPECT_EQ(
        lines(),
        joined({{kOpeningLines[0], kOpeningLines[1], "Lösche bestehende Datensätze in der Ziel-DB"},
                {kOpeningLines.begin() + 2, kOpeningLines.end()},
                exampleCopyLines(),
                kClosingLines}));
    EXPECT_TRUE(readRows(target, "Archiv").empty());
    EXPECT_EQ(readRows(target, "Kunden"), kundenRows(3));
    EXPECT_EQ(form.deleteValue, 0);
    EXPECT_EQ(form.deleteWrites, std::vector<int>{0});
}

TEST_F(ImportRunWithFiles, WithoutDeleteOptionExistingRecordsStay) {
    makeExample();
    appendRows(target, "Kunden", kundenRows(2, 100));
    runImport();
    EXPECT_EQ(lines(), joined({kOpeningLines, exampleCopyLines(), kClosingLines}));
    auto expected = kundenRows(2, 100);
    for (const Row& row : kundenRows(3)) expected.push_back(row);
    EXPECT_EQ(readRows(target, "Kunden"), expected);
    EXPECT_TRUE(form.deleteWrites.empty());
}

// The target knows only one user; the enabled state of txtDestUser chooses whose credentials
// both openings of the target use. The source always uses txtUsername and txtPassword.
struct CredentialCase {
    const char* name;
    bool targetHasOwnUser;  // else the target knows the source's user
    bool destUserEnabled;
    bool succeeds;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const CredentialCase& c, std::ostream* os) {
    *os << c.name;
}

class TargetCredentials : public FileImportTest,
                          public testing::WithParamInterface<CredentialCase> {};

TEST_P(TargetCredentials, EnabledStateChoosesTheUserOfBothOpenings) {
    createVdb(source, {termineTable()});
    appendRows(source, "Termine", kTermine);
    engine::sqlite::Schema schema;
    schema.users.push_back(
        GetParam().targetHasOwnUser
            ? engine::sqlite::UserSpec{testsupport::kTargetUser, testsupport::kTargetPassword}
            : engine::sqlite::UserSpec{testsupport::kUser, testsupport::kPassword});
    schema.tables = {termineTable()};
    engine::sqlite::createDatabase(target, schema);
    form.destUserEnabled = GetParam().destUserEnabled;
    runImport();

    if (GetParam().succeeds) {
        EXPECT_EQ(lines(),
                  joined({kOpeningLines,
                          {"Exportvorgang für Tabelle Termine beginnt.",
                           "Termine: 2 Datensätze exportiert.", "Indizes werden aufgebaut"},
                          kClosingLines}));
    } else {
        EXPECT_EQ(lines(), (std::vector<std::string>{kOpeningLines[0], kOpeningLines[1],
                                                     "Fehler 0x80041003", lines().at(3)}));
    }
}

INSTANTIATE_TEST_SUITE_P(Openings, TargetCredentials,
                         testing::Values(CredentialCase{"OwnUserEnabled", true, true, true},
                                         CredentialCase{"SourceUserDisabled", false, false, true},
                                         CredentialCase{"OwnUserButDisabled", true, false, false},
                                         CredentialCase{"SourceUserButEnabled", false, true,
                                                        false}),
                         [](const testing::TestParamInfo<CredentialCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ImportRunWithFiles, ReopeningReadsTheEnabledStateAgain) {
    makeExample();
    yield.onYieldNow = [this] {
        if (view.lines().back() == "Öffne Zieldatenbank erneut.") form.destUserEnabled = true;
    };
    runImport();
    EXPECT_EQ(lines(), joined({kOpeningLines, {"Fehler 0x80041003", lines().at(5)}}));
}

TEST_F(ImportRunWithFiles, WrongSourcePasswordReportsTheErrorAndHintsWhenNoTargetUser) {
    makeExample();
    form.texts[FormText::txtPassword] = "falsch";
    runImport();
    const auto withUser = lines();
    ASSERT_EQ(withUser.size(), 3u);
    EXPECT_EQ(withUser[0], kOpeningLines[0]);
    EXPECT_EQ(withUser[1], "Fehler 0x80041003");
    EXPECT_EQ(withUser[2].rfind("Err.Description: ", 0), 0u);

    view = testsupport::MemoryLogView();
    form.texts[FormText::txtDestUser] = "";
    testsupport::FaultLineRecorder faults;
    rig.addObserver(faults);
    runImport();
    EXPECT_EQ(lines(),
              (std::vector<std::string>{kOpeningLines[0],
                                        "Geben Sie einen gültigen Benutzernamen für die Ziel-DB an",
                                        withUser[1], withUser[2]}));
    EXPECT_TRUE(readRows(target, "Kunden").empty());
    EXPECT_EQ(faults.lines, (std::vector<testsupport::FaultLineRecorder::Line>{
                                {lines()[1], LineKind::LoginHint},
                                {lines()[2], LineKind::ErrorReport},
                                {lines()[3], LineKind::ErrorReport}}));
}

TEST_F(ImportRunWithFiles, DamagedSourceFileIsReportedNotFatal) {
    std::ofstream(source) << "kein Datenbankinhalt";
    createVdb(target, {kundenTable()});
    runImport();
    EXPECT_EQ(lines().at(1), "Fehler 0x80041002");
    EXPECT_EQ(lines().size(), 3u);
}

TEST_F(ImportRunWithFiles, SameFileIsRefusedBeforeAnythingIsOpened) {
    makeExample();
    std::error_code linkRefused;
    std::filesystem::create_symlink(source, dir.path() / "verweis.vdb", linkRefused);
    if (linkRefused) GTEST_SKIP() << "no symbolic links here (Windows without the privilege, Wine)";
    const std::string targetBefore = fileBytes(target);
    testsupport::FaultLineRecorder faults;
    rig.addObserver(faults);
    for (const std::string& path : {source, dir.file("verweis.vdb")}) {
        SCOPED_TRACE(path);
        view = testsupport::MemoryLogView();
        faults.lines.clear();
        form.texts[FormText::txtDatabaseDest] = path;
        form.deleteValue = 1;
        runImport();
        EXPECT_EQ(lines(), std::vector<std::string>{"Quell- und Zieldatenbank sind dieselbe "
                                                    "Datei. Der Import wird nicht ausgeführt."});
        EXPECT_EQ(
            faults.lines,
            (std::vector<testsupport::FaultLineRecorder::Line>{{lines()[0], LineKind::Refusal}}));
    }
    EXPECT_EQ(rig.serverCreations(), 0);
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(form.deleteValue, 1);
    EXPECT_EQ(readRows(source, "Kunden"), kundenRows(3));
    EXPECT_EQ(fileBytes(target), targetBefore);
}

// A target made from the source is no easier to read than the source, whatever the umask.
TEST_F(ImportRunWithFiles, TargetCreatedFromTheSourceGetsItsPermissionBits) {
#ifdef _WIN32
    GTEST_SKIP() << "no permission bits on Windows: a new file takes its folder's access list";
#endif
    namespace fs = std::filesystem;
    createVdb(source, {kundenTable()});
    for (const fs::perms bits :
         {fs::perms::owner_read | fs::perms::owner_write,
          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read}) {
        fs::remove(target);
        fs::permissions(source, bits);
        runImport();
        EXPECT_EQ(lines().back(), "Import erfolgreich abgeschlossen.");
        EXPECT_EQ(fs::status(target).permissions(), bits);
    }
}

}  // namespace
}  // namespace copytest
