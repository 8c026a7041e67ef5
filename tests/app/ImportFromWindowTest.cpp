// Whole imports started with the Start button on real .vdb files.
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "AppTestSuites.h"
#include "FileBytes.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "WindowRig.h"

using testsupport::Row;
using testsupport::WindowRig;

namespace {

engine::sqlite::TableSpec kundenTable() {
    using engine::sqlite::FieldType;
    return {"Kunden",
            "",
            {{"ID", FieldType::Int32}, {"Name", FieldType::Text}},
            {{"ID", "", {"ID"}, true}}};
}

const std::vector<Row> kKunden = {
    {std::int32_t(1), "Anna"}, {std::int32_t(2), "Bernd Müller"}, {std::int32_t(3), " Carla "}};

// The window's state as seen from inside one yield of the run.
struct Seen {
    bool running;
    QStringList enabledInputs;
    bool startEnabled;
    QString startText;
    bool settingsSaved;
};

// The remembered value of key in the rig's store; empty when it was never written.
std::string stored(const WindowRig& rig, const char* key) {
    const auto found = rig.settings.values.find({"VeltronaDBCopy", "Startup", key});
    return found == rig.settings.values.end() ? std::string() : found->second;
}

QStringList logLines(const WindowRig& rig) {
    QStringList lines = rig.logText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class ImportFromWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startRunsAWholeImport();
    void closeIsRefusedDuringTheRunAndSavesAfterIt();
    void targetCredentialsFollowTheSwitch_data();
    void targetCredentialsFollowTheSwitch();
    void missingTargetIsCreated();
    void failingSettingsStoreDoesNotStopTheRun();
    void failedRunStillSavedTheSettingsAndFreesTheWindow();
    void savedLogHoldsThePanesExactText();
    void everyRunLeavesItsLogFileAndReport();
    void titleShowsTheProgressOfALongRun();
    void startButtonCancelsTheRun();
    void unwrittenLogFileIsToldOnceAfterTheRun();
    void copyCheckAppendsItsLinesBelowTheRunsAndToItsFiles();

private:
    // Source with three customers and an empty target of the same layout; fills the window's
    // paths and credentials (ADMIN / geheim for both).
    void prepare(WindowRig& rig, const testsupport::TempDir& folder, bool withTarget = true);
    // The same with 100,000 customers in the source.
    void prepareLong(WindowRig& rig, const testsupport::TempDir& folder);
};

void ImportFromWindowTest::prepare(WindowRig& rig, const testsupport::TempDir& folder,
                                   bool withTarget) {
    const std::string source = folder.file("quelle.vdb");
    testsupport::createVdb(source, {kundenTable()});
    testsupport::appendRows(source, "Kunden", kKunden);
    if (withTarget) testsupport::createVdb(folder.file("ziel.vdb"), {kundenTable()});
    QVERIFY(rig.show());
    rig.type("txtDatabase", QString::fromStdString(source));
    rig.type("txtUsername", QStringLiteral("ADMIN"));
    rig.type("txtPassword", QStringLiteral("geheim"));
    rig.type("txtDatabaseDest", QString::fromStdString(folder.file("ziel.vdb")));
    rig.type("txtDestUser", QStringLiteral("ADMIN"));
    rig.type("txtDestPassword", QStringLiteral("geheim"));
}

void ImportFromWindowTest::prepareLong(WindowRig& rig, const testsupport::TempDir& folder) {
    prepare(rig, folder);
    std::vector<Row> more;
    for (std::int32_t id = 4; id <= 100000; ++id) more.push_back({id, "Kunde"});
    testsupport::appendRows(folder.file("quelle.vdb"), "Kunden", more);
}

// Start empties the log, saves the settings before the first line, locks every input but the
// Start button (which offers to cancel) and sets the busy flag for the whole run, and restores
// both afterwards.
void ImportFromWindowTest::startRunsAWholeImport() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.control<QPlainTextEdit>("txtLog")->setPlainText(QStringLiteral("vom letzten Lauf"));
    std::vector<Seen> seen;
    rig.yield.onYield = [&] {
        seen.push_back({rig.window->isRunning(), rig.enabledInputs(),
                        rig.control<QWidget>("cmdStart")->isEnabled(),
                        rig.control<QPushButton>("cmdStart")->text(),
                        rig.settings.writes.size() == 3});
    };

    rig.click("cmdStart");

    const QStringList expected = {
        "Quelldatenbank wird schreibgeschützt geöffnet",
        "Öffne Zieldatenbank.",
        "Lösche bestehende Datensätze in der Ziel-DB",
        "Bereite Zieldatenbank für den Tabellenzugriff per KeyStorage vor.",
        "Öffne Zieldatenbank erneut.",
        "Exportvorgang für Tabelle Kunden beginnt.",
        "Kunden: 3 Datensätze exportiert.",
        "Indizes werden aufgebaut",
        "Tabelle Kunden, Index ID",
        "",
        "Schließe Zieldatenbank",
        "Import erfolgreich abgeschlossen."};
    QCOMPARE(logLines(rig), expected);
    QVERIFY(testsupport::readRows(folder.file("ziel.vdb"), "Kunden") == kKunden);

    QVERIFY(seen.size() >= static_cast<std::size_t>(expected.size()));
    for (const Seen& state : seen) {
        QVERIFY(state.running);
        QCOMPARE(state.enabledInputs, QStringList());
        QVERIFY(state.startEnabled);
        QCOMPARE(state.startText, QStringLiteral("Abbrechen"));
        QVERIFY(state.settingsSaved);
    }
    QVERIFY(!rig.window->isRunning());
    QVERIFY(rig.control<QWidget>("fraSettings")->isEnabled());
    QVERIFY(rig.enabledInputs().contains(QStringLiteral("txtDatabase")));
    QVERIFY(rig.control<QWidget>("cmdStart")->isEnabled());
    QCOMPARE(rig.control<QPushButton>("cmdStart")->text(), QStringLiteral("Start!"));
    QVERIFY(!rig.check("chkDelete")->isChecked());  // the run switched the option off
}

void ImportFromWindowTest::closeIsRefusedDuringTheRunAndSavesAfterIt() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    int refused = 0;
    rig.yield.onYield = [&] {
        if (!rig.window->close()) ++refused;
    };

    rig.click("cmdStart");

    QCOMPARE(refused, rig.yield.calls);
    QVERIFY(rig.window->isVisible());
    QCOMPARE(logLines(rig).constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));

    rig.yield.onYield = nullptr;
    rig.settings.values.clear();
    rig.type("txtDatabase", QStringLiteral("/nachher/quelle.vdb"));
    QVERIFY(rig.window->close());
    QVERIFY(!rig.window->isVisible());
    QCOMPARE(rig.settings.values.size(), std::size_t(3));
    QCOMPARE(stored(rig, "SourceDatabase"), std::string("/nachher/quelle.vdb"));
    for (const auto& [address, value] : rig.settings.values) {
        QVERIFY(value.find("geheim") == std::string::npos);
    }
}

void ImportFromWindowTest::targetCredentialsFollowTheSwitch_data() {
    QTest::addColumn<bool>("ownCredentials");  // chkDestAvailable clicked to this state
    QTest::addColumn<bool>("succeeds");        // the target's own password is wrong
    QTest::newRow("own credentials, wrong password") << true << false;
    QTest::newRow("source credentials") << false << true;
}

// During the run the settings frame is disabled; the run must still see txtDestUser's own
// enabled state to choose the target's credentials.
void ImportFromWindowTest::targetCredentialsFollowTheSwitch() {
    QFETCH(bool, ownCredentials);
    QFETCH(bool, succeeds);
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.type("txtDestPassword", QStringLiteral("falsch"));
    if (!ownCredentials) rig.click("chkDestAvailable");
    rig.check("chkDelete")->setChecked(false);

    rig.click("cmdStart");

    const QStringList lines = logLines(rig);
    if (succeeds) {
        QCOMPARE(lines.constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));
        QVERIFY(testsupport::readRows(folder.file("ziel.vdb"), "Kunden") == kKunden);
    } else {
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1], QStringLiteral("Öffne Zieldatenbank."));
        QCOMPARE(lines[2], QStringLiteral("Fehler 0x80041003"));
        QVERIFY(lines[3].startsWith(QStringLiteral("Err.Description: ")));
        QVERIFY(testsupport::readRows(folder.file("ziel.vdb"), "Kunden").empty());
    }
}

void ImportFromWindowTest::missingTargetIsCreated() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder, false);
    rig.click("chkDestAvailable");

    rig.click("cmdStart");

    const QStringList lines = logLines(rig);
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines[1], QStringLiteral("Die Ziel-DB ist nicht vorhanden. Sie wird angelegt."));
    QCOMPARE(lines.constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));
    QVERIFY(testsupport::readRows(folder.file("ziel.vdb"), "Kunden") == kKunden);
}

void ImportFromWindowTest::failingSettingsStoreDoesNotStopTheRun() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.settings.failAtWrite = 1;

    rig.click("cmdStart");

    QVERIFY(rig.settings.writes.empty());
    QCOMPARE(logLines(rig).constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));
    QVERIFY(!rig.window->isRunning());
    QVERIFY(rig.control<QWidget>("fraSettings")->isEnabled());
}

void ImportFromWindowTest::failedRunStillSavedTheSettingsAndFreesTheWindow() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.type("txtPassword", QStringLiteral("falsch"));

    rig.click("cmdStart");

    QCOMPARE(logLines(rig), (QStringList{"Quelldatenbank wird schreibgeschützt geöffnet",
                                         "Fehler 0x80041003", logLines(rig).value(2)}));
    QVERIFY(logLines(rig).value(2).startsWith(QStringLiteral("Err.Description: ")));
    QCOMPARE(stored(rig, "SourceDatabase"), folder.file("quelle.vdb"));
    QVERIFY(!rig.window->isRunning());
    QVERIFY(rig.control<QWidget>("fraSettings")->isEnabled());
    QVERIFY(rig.window->close());
}

// "Protokoll speichern unter …" writes every line of the run as UTF-8, each ended by CR LF.
void ImportFromWindowTest::savedLogHoldsThePanesExactText() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.click("cmdStart");
    const QString saved = QString::fromStdString(folder.file("Lauf.log"));
    rig.logDialog.willChoose(saved);

    rig.useLogMenu(QStringLiteral("Protokoll speichern unter …"));

    QCOMPARE(rig.logDialog.shown, testsupport::FakeFileDialog::Shown::Save);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = logLines(rig);
    QCOMPARE(lines.size(), 12);
    QCOMPARE(file.readAll(),
             (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

int runImportFromWindowTests(int argc, char** argv) {
    ImportFromWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

// Each run writes its own log file (time-stamped lines, then the summary) and its report,
// both named after the run's start, into the window's folder.
void ImportFromWindowTest::everyRunLeavesItsLogFileAndReport() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    rig.click("cmdStart");

    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(rig.logFolder.path())) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    QCOMPARE(files.size(), std::size_t{2});
    QCOMPARE(files[0].extension().string(), std::string(".json"));
    QCOMPARE(files[1].extension().string(), std::string(".log"));
    QCOMPARE(files[0].stem(), files[1].stem());
    QVERIFY(QString::fromStdString(files[1].stem().string())
                .contains(QRegularExpression(
                    QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d$"))));

    const QStringList log =
        QString::fromStdString(testsupport::fileBytes(files[1].string())).split(QLatin1Char('\n'));
    QVERIFY(log.size() > logLines(rig).size());
    const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (.*)$"));
    for (qsizetype line = 0; line < logLines(rig).size(); ++line) {
        const QRegularExpressionMatch match = stamped.match(log[line]);
        QVERIFY2(match.hasMatch(), qPrintable(log[line]));
        QCOMPARE(match.captured(1), logLines(rig)[line]);
    }
    QVERIFY(log.contains(QStringLiteral("Ergebnis: erfolgreich")));

    const std::string report = testsupport::fileBytes(files[0].string());
    QVERIFY(report.find("\"status\": \"ok\"") != std::string::npos);
    QVERIFY(report.find("\"verified\": true") != std::string::npos);
    QVERIFY(report.find("geheim") == std::string::npos);
    QVERIFY(rig.logFailures.empty());
}

// "Kopie prüfen" cannot be chosen during a run; after it, it compares that run's files with its
// logins, locked like a run, and its lines follow the run's in the pane, the log file and the
// report, while the run's own lines stay as they were.
void ImportFromWindowTest::copyCheckAppendsItsLinesBelowTheRunsAndToItsFiles() {
    const QString check = QStringLiteral("Kopie prüfen (Wert für Wert)");
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    QStringList enabledDuringRun;
    rig.yield.onYield = [&] {
        if (enabledDuringRun.isEmpty()) rig.useLogMenu(QString(), &enabledDuringRun);
    };
    rig.click("cmdStart");
    QVERIFY(!enabledDuringRun.isEmpty());
    QVERIFY(!enabledDuringRun.contains(check));

    const QStringList runLines = logLines(rig);
    rig.type("txtPassword", QStringLiteral("anderes"));  // the check uses the run's login
    std::vector<Seen> seen;
    rig.yield.onYield = [&] {
        seen.push_back({rig.window->isRunning(),
                        rig.enabledInputs(),
                        rig.control<QWidget>("cmdStart")->isEnabled(),
                        {},
                        false});
    };
    QStringList enabledAfterRun;
    rig.useLogMenu(check, &enabledAfterRun);

    QVERIFY(enabledAfterRun.contains(check));
    const QStringList checkLines = {QStringLiteral("Prüfe Kopie Wert für Wert"),
                                    QStringLiteral("Kunden: gleich (3 Datensätze)"),
                                    QStringLiteral("Prüfung abgeschlossen: alles gleich.")};
    QCOMPARE(logLines(rig), runLines + checkLines);
    QVERIFY(!seen.empty());
    for (const Seen& during : seen) {
        QVERIFY(during.running);
        QVERIFY(during.enabledInputs.isEmpty());
        QVERIFY(!during.startEnabled);
    }
    QVERIFY(!rig.window->isRunning());
    QVERIFY(rig.control<QWidget>("cmdStart")->isEnabled());

    std::string log, report;
    for (const auto& entry : std::filesystem::directory_iterator(rig.logFolder.path())) {
        (entry.path().extension() == ".log" ? log : report) =
            testsupport::fileBytes(entry.path().string());
    }
    const QStringList logFile = QString::fromStdString(log).split(QLatin1Char('\n'));
    QVERIFY(logFile.size() > checkLines.size());
    for (qsizetype line = 0; line < checkLines.size(); ++line) {
        QVERIFY(logFile[logFile.size() - 1 - checkLines.size() + line].endsWith(checkLines[line]));
    }
    QVERIFY(report.find("\"content\": \"equal\"") != std::string::npos);
    QVERIFY(report.find("geheim") == std::string::npos);
}

// The title counts up in percent of all source records and goes back to the plain title.
void ImportFromWindowTest::titleShowsTheProgressOfALongRun() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepareLong(rig, folder);
    const QString plain = rig.window->windowTitle();
    const QRegularExpression progress(
        QStringLiteral("^(\\d+) %( · noch \\d+:\\d\\d(:\\d\\d)?)? – ") + plain + u'$');
    QStringList titles;
    rig.yield.onYield = [&] {
        if (titles.isEmpty() || titles.constLast() != rig.window->windowTitle()) {
            titles << rig.window->windowTitle();
        }
    };

    rig.click("cmdStart");

    QCOMPARE(logLines(rig).constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));
    QCOMPARE(rig.window->windowTitle(), plain);
    int highest = -1;
    for (const QString& title : titles) {
        const QRegularExpressionMatch match = progress.match(title);
        if (!match.hasMatch()) continue;
        QVERIFY(match.captured(1).toInt() >= highest);
        highest = match.captured(1).toInt();
    }
    QVERIFY2(highest > 0, qPrintable(titles.join(u'\n')));
    QVERIFY(titles.contains(QStringLiteral("Indizes … – ") + plain));
}

// Pressed after the first progress line, the button stops the copy there; the indexes are still
// rebuilt and the target keeps exactly the records the table's last line counts.
void ImportFromWindowTest::startButtonCancelsTheRun() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepareLong(rig, folder);
    auto* start = rig.control<QPushButton>("cmdStart");
    bool pressed = false;
    QStringList whileCancelling;
    rig.yield.onYield = [&] {
        if (pressed) {
            whileCancelling << start->text() + (start->isEnabled() ? u'+' : u'-');
        } else if (rig.logText().contains(QStringLiteral("Kunden: 1000/100000"))) {
            pressed = true;
            rig.click("cmdStart");
        }
    };

    rig.click("cmdStart");

    const QStringList lines = logLines(rig);
    QCOMPARE(lines.constLast(), QStringLiteral("Der Import wurde abgebrochen."));
    whileCancelling.removeDuplicates();
    QCOMPARE(whileCancelling, QStringList{QStringLiteral("Wird abgebrochen …-")});
    QCOMPARE(start->text(), QStringLiteral("Start!"));
    QVERIFY(start->isEnabled());
    const QRegularExpression finalLine(QStringLiteral("^Kunden: (\\d+) Datensätze exportiert\\.$"));
    const auto counted = std::find_if(lines.begin(), lines.end(), [&](const QString& line) {
        return finalLine.match(line).hasMatch();
    });
    QVERIFY(counted != lines.end());
    const std::size_t copied = finalLine.match(*counted).captured(1).toULongLong();
    QVERIFY(copied >= 1000 && copied < 100000);
    QCOMPARE(testsupport::readRows(folder.file("ziel.vdb"), "Kunden").size(), copied);
    QVERIFY(lines.contains(QStringLiteral("Tabelle Kunden, Index ID")));
}

// A log folder that cannot be made is told once, after the run, and the pane keeps its lines.
void ImportFromWindowTest::unwrittenLogFileIsToldOnceAfterTheRun() {
    testsupport::TempDir folder;
    WindowRig rig;
    prepare(rig, folder);
    std::filesystem::remove_all(rig.logFolder.path());
    QFile(QString::fromStdString(rig.logFolder.path().string())).open(QIODevice::WriteOnly);
    bool toldDuringRun = false;
    rig.yield.onYield = [&] { toldDuringRun = toldDuringRun || !rig.logFailures.empty(); };

    rig.click("cmdStart");

    QVERIFY(!toldDuringRun);
    QCOMPARE(rig.logFailures.size(), std::size_t{1});
    QCOMPARE(logLines(rig).size(), 12);
    QCOMPARE(logLines(rig).constLast(), QStringLiteral("Import erfolgreich abgeschlossen."));
}

#include "ImportFromWindowTest.moc"
