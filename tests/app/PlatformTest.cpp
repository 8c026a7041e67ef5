// The platform services behind the window: settings store, file test, yield, log pane and file
// dialog.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <chrono>

#include "AppTestSuites.h"
#include "platform/PlainTextLogView.h"
#include "platform/QtEventYield.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFileProbe.h"
#include "platform/QtSettingsStore.h"

namespace {

// Counts the events it receives, to see whether a yield processed the pending ones.
class EventCounter : public QObject {
public:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        ++received;
        return true;
    }
    int received = 0;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

// A shown log pane of the window's size.
void showPane(QPlainTextEdit& pane) {
    pane.resize(417, 177);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
}

using Clock = std::chrono::steady_clock;

// What a file dialog showed when it came up: its folder, the proposed name and its texts.
struct DialogSeen {
    QString folder;
    QString name;
    QStringList buttons;  // without access-key marks
    QStringList labels;
    bool confirmed = false;
};

// Shows dialog as an open dialog, notes what it shows and cancels it.
DialogSeen showAndCancel(dbcopy::QtFileDialog& dialog) {
    DialogSeen seen;
    QTimer poll;  // the dialog runs its own event loop; the timer acts inside it
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (shown == nullptr) return;
        poll.stop();
        seen.folder = shown->directory().absolutePath();
        seen.name = shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        for (QAbstractButton* button : shown->findChild<QDialogButtonBox*>()->buttons()) {
            seen.buttons << button->text().remove(QLatin1Char('&'));
        }
        for (const QLabel* label : shown->findChildren<QLabel*>()) seen.labels << label->text();
        shown->reject();
    });
    poll.start();
    seen.confirmed = dialog.showOpen(nullptr);
    return seen;
}

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void settingsStoreRoundTrip_data();
    void settingsStoreRoundTrip();
    void settingsStoreMissingKeyGivesDefault();
    void settingsStoreKeepsTheValuesInTheUsersConfiguration();
    void fileProbe_data();
    void fileProbe();
    void yieldNowProcessesPendingEvents();
    void yieldPerRecordProcessesAtMostEveryTenMilliseconds();
    void logViewAppendsLinesAndLeavesTheCaretAtTheEnd();
    void logViewKeepsTheTextAlreadyThere();
    void logViewPaintsABurstOfLinesWithTheCaretInViewWithoutFurtherCalls();
    void logViewGoneWhileLinesWaitLeavesThePanePainting();
    void fileDialogIsGermanAndStartsWhereThePathIs_data();
    void fileDialogIsGermanAndStartsWhereThePathIs();
};

void PlatformTest::settingsStoreRoundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("path") << QStringLiteral("/daten/Veltrona CRM 2010/kunden.vdb");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks kept") << QStringLiteral("  ADMIN  ");
    QTest::newRow("umlauts") << QStringLiteral("Jürgen Größe");
    QTest::newRow("backslashes") << QStringLiteral("C:\\ProgramData\\VelDB\\a.vdb");
    QTest::newRow("comma") << QStringLiteral("Meier, Anna");
    QTest::newRow("at sign") << QStringLiteral("@Invalid()");
}

void PlatformTest::settingsStoreRoundTrip() {
    QFETCH(QString, value);
    dbcopy::QtSettingsStore writer;
    writer.writeSetting("VeltronaDBCopy", "Startup", "UserName", value.toStdString());

    dbcopy::QtSettingsStore reader;  // a new store, as after a restart
    QCOMPARE(QString::fromStdString(
                 reader.readSetting("VeltronaDBCopy", "Startup", "UserName", "ADMIN")),
             value);
}

void PlatformTest::settingsStoreMissingKeyGivesDefault() {
    dbcopy::QtSettingsStore store;
    QCOMPARE(store.readSetting("VeltronaDBCopy", "Startup", "NieGeschrieben", "ADMIN"),
             std::string("ADMIN"));
    QCOMPARE(store.readSetting("AnderesProgramm", "Startup", "UserName", "ADMIN"),
             std::string("ADMIN"));
}

void PlatformTest::settingsStoreKeepsTheValuesInTheUsersConfiguration() {
    dbcopy::QtSettingsStore store;
    store.writeSetting("VeltronaDBCopy", "Startup", "DestDatabase", "/daten/ziel.vdb");

#ifdef _WIN32
    // The key where the earlier Windows program kept them, so that its users find them again.
    QSettings native(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\VeltronaDBCopy"),
        QSettings::NativeFormat);
#else
    QSettings native(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("VeltronaDBCopy"));
    QVERIFY(native.fileName().endsWith(QStringLiteral("/VeltronaDBCopy.conf")));
    QVERIFY(QFile::exists(native.fileName()));
#endif
    QCOMPARE(native.value(QStringLiteral("Startup/DestDatabase")).toString(),
             QStringLiteral("/daten/ziel.vdb"));
}

void PlatformTest::fileProbe_data() {
    QTest::addColumn<QString>("name");  // inside a fresh folder; "." is the folder itself
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("exists");
    QTest::newRow("existing file") << QStringLiteral("a.vdb") << true << true;
    QTest::newRow("umlaut in the name") << QStringLiteral("Übersicht.vdb") << true << true;
    QTest::newRow("missing file") << QStringLiteral("fehlt.vdb") << false << false;
    QTest::newRow("folder") << QStringLiteral(".") << false << false;
    QTest::newRow("empty path") << QString() << false << false;
}

void PlatformTest::fileProbe() {
    QFETCH(QString, name);
    QFETCH(bool, create);
    QFETCH(bool, exists);
    QTemporaryDir folder;
    QString path = name.isEmpty() ? QString() : folder.filePath(name);
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    dbcopy::QtFileProbe probe;
    QCOMPARE(probe.fileExists(path.toStdString()), exists);
}

void PlatformTest::yieldNowProcessesPendingEvents() {
    EventCounter counter;
    dbcopy::QtEventYield yield([] { return Clock::time_point(); });
    for (int round = 1; round <= 2; ++round) {
        QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
        yield.yieldNow();
        QCOMPARE(counter.received, round);
    }
}

void PlatformTest::yieldPerRecordProcessesAtMostEveryTenMilliseconds() {
    using std::chrono::milliseconds;
    Clock::time_point now = Clock::time_point() + std::chrono::hours(1);
    EventCounter counter;
    dbcopy::QtEventYield yield([&now] { return now; });

    const struct {
        milliseconds advance;
        int expected;  // events received after this record's yield
    } records[] = {{milliseconds(0), 1}, {milliseconds(3), 1}, {milliseconds(6), 1},
                   {milliseconds(1), 2}, {milliseconds(9), 2}, {milliseconds(10), 3},
                   {milliseconds(50), 4}};
    for (const auto& record : records) {
        now += record.advance;
        QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
        yield.yieldPerRecord();
        QCOMPARE(counter.received, record.expected);
        QCoreApplication::removePostedEvents(&counter, QEvent::User);
    }
}

void PlatformTest::logViewAppendsLinesAndLeavesTheCaretAtTheEnd() {
    QPlainTextEdit pane;
    dbcopy::PlainTextLogView view(pane);
    pane.setPlainText(QStringLiteral("alt"));
    pane.selectAll();

    view.append("Öffne Zieldatenbank.\r\n");
    view.append("\r\n");
    view.append("zwei\r\nZeilen\r\n");
    view.moveCaretToEnd();

    QCOMPARE(pane.toPlainText(), QStringLiteral("altÖffne Zieldatenbank.\n\nzwei\nZeilen\n"));
    QCOMPARE(pane.blockCount(), 5);
    const QTextCursor caret = pane.textCursor();
    QVERIFY(!caret.hasSelection());
    QVERIFY(caret.atEnd());
}

void PlatformTest::logViewKeepsTheTextAlreadyThere() {
    QPlainTextEdit pane;
    dbcopy::PlainTextLogView view(pane);
    view.append("erste Zeile\r\n");
    // A cursor of the reader's own survives an append only if the old text was not replaced.
    QTextCursor reader(pane.document());
    reader.setPosition(2);
    reader.setPosition(5, QTextCursor::KeepAnchor);

    view.append("zweite Zeile\r\n");

    QCOMPARE(reader.selectedText(), QStringLiteral("ste"));
    QVERIFY(!pane.document()->isUndoRedoEnabled());
}

void PlatformTest::logViewPaintsABurstOfLinesWithTheCaretInViewWithoutFurtherCalls() {
    QPlainTextEdit pane;
    dbcopy::PlainTextLogView view(pane);
    showPane(pane);
    PaintCounter counter(*pane.viewport());

    for (int line = 1; line <= 50; ++line) {
        view.append("Kunden: " + std::to_string(line) + " Datensätze exportiert.\r\n");
        view.moveCaretToEnd();
    }

    QTRY_VERIFY(counter.paints > 0);
    QVERIFY(pane.verticalScrollBar()->value() > 0);
    QVERIFY(pane.viewport()->rect().contains(pane.cursorRect()));
    QCOMPARE(pane.document()->blockCount(), 51);
}

void PlatformTest::logViewGoneWhileLinesWaitLeavesThePanePainting() {
    QPlainTextEdit pane;
    showPane(pane);
    PaintCounter counter(*pane.viewport());
    {
        dbcopy::PlainTextLogView view(pane);
        view.append("letzte Zeile\r\n");
    }

    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(pane.toPlainText(), QStringLiteral("letzte Zeile\n"));
}

void PlatformTest::fileDialogIsGermanAndStartsWhereThePathIs_data() {
    QTest::addColumn<QString>("path");    // %1 stands for an existing folder
    QTest::addColumn<QString>("folder");  // where the dialog opens; empty: the home folder
    QTest::addColumn<QString>("name");    // the name it proposes
    QTest::newRow("file in an existing folder")
        << QStringLiteral("%1/quelle.vdb") << QStringLiteral("%1") << QStringLiteral("quelle.vdb");
    QTest::newRow("existing folder") << QStringLiteral("%1") << QStringLiteral("%1") << QString();
    QTest::newRow("missing folder") << QStringLiteral("%1/fehlt/Veltrona CRM 2010") << QString()
                                    << QStringLiteral("Veltrona CRM 2010");
    QTest::newRow("name only") << QStringLiteral("ziel.vdb") << QString()
                               << QStringLiteral("ziel.vdb");
    QTest::newRow("empty") << QString() << QString() << QString();
}

// The dialog configured as the window's source dialog speaks German and opens in the folder of
// its path, or in the home folder with only the path's name when that folder is missing.
void PlatformTest::fileDialogIsGermanAndStartsWhereThePathIs() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QTemporaryDir existing;
    const auto inExisting = [&existing](QString text) {
        return text.replace(QStringLiteral("%1"), existing.path());
    };
    dbcopy::FileDialogOptions options;
    options.title = QStringLiteral("Datenbank öffnen");
    options.nameFilters = {QStringLiteral("Veltrona Datenbank (*.vdb)")};
    options.defaultSuffix = QStringLiteral("vdb");
    options.fileMustExist = true;
    dbcopy::QtFileDialog dialog;
    dialog.configure(options);
    dialog.setFileName(inExisting(path));

    const DialogSeen seen = showAndCancel(dialog);

    QCOMPARE(seen.folder, folder.isEmpty() ? QDir::homePath() : inExisting(folder));
    QCOMPARE(seen.name, name);
    QVERIFY(!seen.confirmed);
    QCOMPARE(dialog.fileName(), inExisting(path));
    QVERIFY2(seen.buttons.contains(QStringLiteral("Öffnen")), qPrintable(seen.buttons.join('|')));
    QVERIFY(seen.buttons.contains(QStringLiteral("Abbrechen")));
    QVERIFY2(seen.labels.contains(QStringLiteral("Suchen in:")), qPrintable(seen.labels.join('|')));
}

int runPlatformTests(int argc, char** argv) {
    PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlatformTest.moc"
