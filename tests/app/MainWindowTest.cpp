// The main window without a run: its controls at first start, the target switch, the browse
// buttons and the remembered fields.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QStyleOptionButton>
#include <QTest>
#include <QUrl>

#include "AppTestSuites.h"
#include "WindowRig.h"
#include "app/TitleProgress.h"
#include "app/WrappingCheckBox.h"
#include "settings/Settings.h"

using testsupport::FakeFileDialog;
using testsupport::WindowRig;

namespace {

QString defaultFolder() {
    return QString::fromStdString(dbcopy::defaultDatabaseFolder());
}

QColor background(const QWidget* box) {
    return box->palette().color(QPalette::Base);
}

// The window's own controls and the frames' ones, not the parts Qt builds inside a control.
bool isPlacedControl(const QWidget* widget) {
    return !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_") &&
           widget->isVisible();
}

// A label without a caption shows nothing, so it covers nothing either.
bool showsSomething(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label == nullptr || !label->text().isEmpty();
}

// Takes the place of the desktop's file manager: remembers the address it was asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT

public slots:
    void open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void titleTellsPercentAndTimeLeft();
    void firstStartControls_data();
    void firstStartControls();
    void firstStartTextsAndPasswordMasks();
    void firstStartWindow();
    void controlsInsideTheirFrameWithoutOverlap();
    void tabOrder();
    void accessKeysLeadToTheBoxBeside_data();
    void accessKeysLeadToTheBoxBeside();
    void captionsFitTheirControls();
    void logMenuIsGerman();
    void logMenuOpensTheLogFolder();
    void loadConfiguresBothDialogs();
    void destAvailableSwitchesTheTargetCredentials();
    void browseSource_data();
    void browseSource();
    void browseTarget_data();
    void browseTarget();
    void storedValuesAreLoadedUnchanged();
    void closeSavesTheThreeFieldsButNoPassword();
};

void MainWindowTest::firstStartControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("checked");  // -1: no check box
    const auto row = [](const char* name, const char* kind, const QString& caption,
                        int checked = -1) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << caption
                            << checked;
    };
    row("fraSettings", "QGroupBox", QStringLiteral(" "));
    row("txtLog", "QPlainTextEdit", QString());
    row("Label1", "QLabel", QStringLiteral("&Benutzer:"));
    row("lblDatabase", "QLabel", QStringLiteral("&Datenbank:"));
    row("txtDatabase", "QLineEdit", defaultFolder());
    row("cmdDatabase", "QPushButton", QString());
    row("lblUsername", "QLabel", QStringLiteral("&Benutzer:"));
    row("txtUsername", "QLineEdit", QStringLiteral("ADMIN"));
    row("fraAdmin", "QGroupBox", QStringLiteral("Verwaltung"));
    row("chkAdminDatabase", "QCheckBox", QStringLiteral("D&atenbank"), 1);
    row("chkAdminUser", "QCheckBox", QStringLiteral("B&enutzer"), 0);
    row("lblPassword", "QLabel", QStringLiteral("&Kennwort:"));
    row("txtPassword", "QLineEdit", QString());
    row("Line1", "QFrame", QString());
    row("lblDatabaseDest", "QLabel", QStringLiteral("&Ziel-DB:"));
    row("txtDatabaseDest", "QLineEdit", defaultFolder());
    row("cmdDatabaseDest", "QPushButton", QString());
    row("lblDestUserName", "QLabel", QStringLiteral("Benutzer:"));
    row("txtDestUser", "QLineEdit", QString());
    row("chkDestAvailable", "QCheckBox", QStringLiteral("Ziel-DB ist bereits vorhanden"), 1);
    row("Label2", "QLabel", QString());
    row("lblDestPassword", "QLabel", QStringLiteral("Kennwort:"));
    row("txtDestPassword", "QLineEdit", QString());
    row("chkDelete", "QCheckBox",
        QStringLiteral("Vorhandene Datensätze in der Zieldatenbank löschen"), 1);
    row("cmdStart", "QPushButton", QStringLiteral("Start!"));
}

// Every control exists under its name, with its kind, caption or text, check state, and enabled.
void MainWindowTest::firstStartControls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(int, checked);
    WindowRig rig;
    QWidget* control = rig.control<QWidget>(name.toLatin1().constData());
    QVERIFY(control != nullptr);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QVERIFY(control->isEnabled());

    QString shown;
    if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
    if (auto* box = qobject_cast<QLineEdit*>(control)) shown = box->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(control)) shown = frame->title();
    if (auto* log = qobject_cast<QPlainTextEdit*>(control)) shown = log->toPlainText();
    QCOMPARE(shown, caption);
    if (checked >= 0) QCOMPARE(qobject_cast<QCheckBox*>(control)->isChecked(), checked == 1);
}

void MainWindowTest::firstStartTextsAndPasswordMasks() {
    WindowRig rig;
    QCOMPARE(rig.box("txtPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(rig.box("txtDestPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(rig.box("txtDestUser")->echoMode(), QLineEdit::Normal);
    QVERIFY(rig.control<QPlainTextEdit>("txtLog")->isReadOnly());
    QVERIFY(!rig.control<QPushButton>("cmdDatabase")->icon().isNull());
    QVERIFY(!rig.control<QPushButton>("cmdDatabaseDest")->icon().isNull());

    rig.type("txtPassword", QStringLiteral("geheim"));
    rig.type("txtDestPassword", QStringLiteral("geheim"));
    QCOMPARE(rig.box("txtPassword")->displayText(), QStringLiteral("******"));
    QCOMPARE(rig.box("txtDestPassword")->displayText(), QStringLiteral("******"));
    QCOMPARE(rig.box("txtDestPassword")->text(), QStringLiteral("geheim"));
}

void MainWindowTest::firstStartWindow() {
    WindowRig rig;
    QVERIFY(rig.show());
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Veltrona Datenbanken kopieren"));
    QVERIFY(!rig.window->windowIcon().isNull());
    QCOMPARE(rig.window->size(), QSize(436, 426));
    QCOMPARE(rig.window->minimumSize(), rig.window->maximumSize());
    QCOMPARE(rig.window->focusWidget(), rig.control<QWidget>("txtLog"));
    QVERIFY(!rig.window->isRunning());

    QPlainTextEdit* log = rig.control<QPlainTextEdit>("txtLog");
    QCOMPARE(log->palette().color(QPalette::Base), log->palette().color(QPalette::Button));
    QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

// Every control lies whole inside the window's client area or the frame that holds it, and no
// two controls of one frame or of the window that show something cover each other.
void MainWindowTest::controlsInsideTheirFrameWithoutOverlap() {
    WindowRig rig;
    QVERIFY(rig.show());
    int checked = 0;
    for (QWidget* control : rig.window->findChildren<QWidget*>()) {
        if (!isPlacedControl(control)) continue;
        ++checked;
        const QWidget* holder = control->parentWidget();
        QVERIFY2(holder->rect().contains(control->geometry()), qPrintable(control->objectName()));
        for (QWidget* other : holder->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == control || !isPlacedControl(other)) continue;
            if (!showsSomething(control) || !showsSomething(other)) continue;
            QVERIFY2(!control->geometry().intersects(other->geometry()),
                     qPrintable(control->objectName() + " / " + other->objectName()));
        }
    }
    QCOMPARE(checked, 25);  // every control of firstStartControls
}

// Tab visits the focusable controls by their tab positions.
void MainWindowTest::tabOrder() {
    WindowRig rig;
    const QStringList expected = {"txtLog",          "chkDelete",        "cmdStart",
                                  "txtDatabase",     "txtUsername",      "chkAdminDatabase",
                                  "chkAdminUser",    "cmdDatabase",      "txtDatabaseDest",
                                  "cmdDatabaseDest", "txtPassword",      "txtDestUser",
                                  "txtDestPassword", "chkDestAvailable", "txtLog"};
    QStringList visited = {QStringLiteral("txtLog")};
    QWidget* current = rig.control<QWidget>("txtLog");
    while (visited.size() < expected.size()) {
        current = current->nextInFocusChain();
        if ((current->focusPolicy() & Qt::TabFocus) != 0) visited << current->objectName();
    }
    QCOMPARE(visited, expected);
}

void MainWindowTest::accessKeysLeadToTheBoxBeside_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("key");  // 0: the caption has no access key
    QTest::addColumn<QString>("box");
    QTest::newRow("Label1") << "Label1" << int(Qt::Key_B) << "txtUsername";
    QTest::newRow("lblDatabase") << "lblDatabase" << int(Qt::Key_D) << "txtDatabase";
    QTest::newRow("lblUsername") << "lblUsername" << int(Qt::Key_B) << "txtUsername";
    QTest::newRow("lblPassword") << "lblPassword" << int(Qt::Key_K) << "txtPassword";
    QTest::newRow("lblDatabaseDest") << "lblDatabaseDest" << int(Qt::Key_Z) << "txtDatabaseDest";
    QTest::newRow("lblDestUserName") << "lblDestUserName" << 0 << "txtDestUser";
    QTest::newRow("lblDestPassword") << "lblDestPassword" << 0 << "txtDestPassword";
}

// Alt and the label's access key, pressed in the log pane, put the focus into the box beside the
// label; the target's labels have no access key but name their box all the same.
void MainWindowTest::accessKeysLeadToTheBoxBeside() {
    QFETCH(QString, label);
    QFETCH(int, key);
    QFETCH(QString, box);
    WindowRig rig;
    QWidget* expected = rig.control<QWidget>(box.toLatin1().constData());
    QCOMPARE(rig.control<QLabel>(label.toLatin1().constData())->buddy(), expected);
    if (key == 0) return;
    QVERIFY(rig.show());
    rig.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    rig.control<QWidget>("txtLog")->setFocus();

    QTest::keyClick(rig.window.get(), static_cast<Qt::Key>(key), Qt::AltModifier);

    QCOMPARE(QApplication::focusWidget(), expected);
}

// Every caption shows whole in the room its control gives it, with the control's own font: a
// label's or a frame's title within its width, a check box's caption beside the indicator (a
// wrapping one within its height), a button's text within its face.
void MainWindowTest::captionsFitTheirControls() {
    WindowRig rig;
    QVERIFY(rig.show());
    int checked = 0;
    for (QWidget* control : rig.window->findChildren<QWidget*>()) {
        const QFontMetrics metrics(control->font());
        QString caption;
        QRect room;
        int flags = Qt::TextShowMnemonic;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            caption = label->text();
            room = label->contentsRect();
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            caption = frame->title();
            room = frame->contentsRect();
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            QStyleOptionButton option;
            option.initFrom(box);
            caption = box->text();
            room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            if (dynamic_cast<dbcopy::WrappingCheckBox*>(box) != nullptr) flags |= Qt::TextWordWrap;
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            caption = button->text();
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        }
        if (caption.trimmed().isEmpty()) continue;
        ++checked;
        const QRect needed =
            metrics.boundingRect(QRect(room.topLeft(), QSize(room.width(), 1000)), flags, caption);
        const int oneLine = metrics.horizontalAdvance(QString(caption).remove(QLatin1Char('&')));
        QVERIFY2((flags & Qt::TextWordWrap) != 0 || oneLine <= room.width(),
                 qPrintable(control->objectName()));
        QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
                 qPrintable(control->objectName()));
    }
    QCOMPARE(checked, 13);
}

void MainWindowTest::loadConfiguresBothDialogs() {
    WindowRig rig;
    for (FakeFileDialog* dialog : {&rig.sourceDialog, &rig.destDialog}) {
        QCOMPARE(dialog->configureCalls, 1);
        QCOMPARE(dialog->options.title, QStringLiteral("Datenbank öffnen"));
        QCOMPARE(dialog->options.nameFilters, QStringList{"Veltrona Datenbank (*.vdb)"});
        QCOMPARE(dialog->options.filterIndex, 1);
        QCOMPARE(dialog->options.defaultSuffix, QStringLiteral("vdb"));
    }
    QVERIFY(rig.sourceDialog.options.fileMustExist);
    QVERIFY(!rig.sourceDialog.options.confirmOverwrite);
    QVERIFY(!rig.destDialog.options.fileMustExist);
    QVERIFY(rig.destDialog.options.confirmOverwrite);
}

// The default background follows the platform (here a yellow one); the switch sets white or the
// active-border colour, and never touches the texts.
void MainWindowTest::destAvailableSwitchesTheTargetCredentials() {
    const QPalette original = QApplication::palette();
    QPalette yellow = original;
    yellow.setColor(QPalette::Base, QColor(255, 255, 200));
    QApplication::setPalette(yellow);
    WindowRig rig;
    QVERIFY(rig.show());
    QLineEdit* user = rig.box("txtDestUser");
    QLineEdit* password = rig.box("txtDestPassword");
    rig.type("txtDestUser", QStringLiteral("Ziel"));
    rig.type("txtDestPassword", QStringLiteral("pw"));
    const QColor activeBorder = rig.window->palette().color(QPalette::Mid);

    QCOMPARE(background(user), QColor(255, 255, 200));
    rig.click("chkDestAvailable");
    QVERIFY(!rig.check("chkDestAvailable")->isChecked());
    for (QLineEdit* box : {user, password}) {
        QVERIFY(!box->isEnabled());
        QCOMPARE(background(box), activeBorder);
        QVERIFY(background(box) != QColor(Qt::white));
    }
    rig.click("chkDestAvailable");
    for (QLineEdit* box : {user, password}) {
        QVERIFY(box->isEnabled());
        QCOMPARE(background(box), QColor(Qt::white));
    }
    QCOMPARE(user->text(), QStringLiteral("Ziel"));
    QCOMPARE(password->text(), QStringLiteral("pw"));
    QApplication::setPalette(original);
}

void MainWindowTest::browseSource_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chosen") << false << QStringLiteral("/daten/quelle.vdb");
    QTest::newRow("cancelled") << true << QStringLiteral("/bisher/alt.vdb");
}

void MainWindowTest::browseSource() {
    QFETCH(bool, cancel);
    QFETCH(QString, expected);
    WindowRig rig;
    QVERIFY(rig.show());
    rig.type("txtDatabase", QStringLiteral("/bisher/alt.vdb"));
    if (cancel) {
        rig.sourceDialog.willCancel();
    } else {
        rig.sourceDialog.willChoose(QStringLiteral("/daten/quelle.vdb"));
    }
    rig.click("cmdDatabase");

    QCOMPARE(rig.sourceDialog.shown, FakeFileDialog::Shown::Open);
    QCOMPARE(rig.sourceDialog.initialName, QStringLiteral("/bisher/alt.vdb"));
    QCOMPARE(rig.box("txtDatabase")->text(), expected);
    QCOMPARE(rig.destDialog.shown, FakeFileDialog::Shown::None);
}

void MainWindowTest::browseTarget_data() {
    QTest::addColumn<bool>("targetExists");  // the state of chkDestAvailable
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<bool>("expectedEnabled");
    QTest::addColumn<QColor>("expectedBackground");  // invalid: the active-border colour
    const QColor defaultBase = QApplication::palette().color(QPalette::Base);
    const int open = static_cast<int>(FakeFileDialog::Shown::Open);
    const int save = static_cast<int>(FakeFileDialog::Shown::Save);
    QTest::newRow("exists, chosen")
        << true << false << open << QStringLiteral("/daten/ziel.vdb") << true << QColor(Qt::white);
    QTest::newRow("exists, cancelled")
        << true << true << open << QStringLiteral("/bisher/z.vdb") << true << defaultBase;
    QTest::newRow("new, chosen") << false << false << save << QStringLiteral("/daten/ziel.vdb")
                                 << false << QColor();
    QTest::newRow("new, cancelled")
        << false << true << save << QStringLiteral("/bisher/z.vdb") << true << defaultBase;
}

// The check box decides between an open and a save dialog; a confirmed choice sets the path and
// the credential boxes from the check box, a cancel leaves both as they were.
void MainWindowTest::browseTarget() {
    QFETCH(bool, targetExists);
    QFETCH(bool, cancel);
    QFETCH(int, shown);
    QFETCH(QString, expectedPath);
    QFETCH(bool, expectedEnabled);
    QFETCH(QColor, expectedBackground);
    WindowRig rig;
    QVERIFY(rig.show());
    rig.type("txtDatabaseDest", QStringLiteral("/bisher/z.vdb"));
    rig.check("chkDestAvailable")->setChecked(targetExists);  // without the click handler
    if (cancel) {
        rig.destDialog.willCancel();
    } else {
        rig.destDialog.willChoose(QStringLiteral("/daten/ziel.vdb"));
    }
    rig.click("cmdDatabaseDest");

    QCOMPARE(static_cast<int>(rig.destDialog.shown), shown);
    QCOMPARE(rig.destDialog.initialName, QStringLiteral("/bisher/z.vdb"));
    QCOMPARE(rig.box("txtDatabaseDest")->text(), expectedPath);
    if (!expectedBackground.isValid()) {
        expectedBackground = rig.window->palette().color(QPalette::Mid);
    }
    for (const char* name : {"txtDestUser", "txtDestPassword"}) {
        QCOMPARE(rig.box(name)->isEnabled(), expectedEnabled);
        QCOMPARE(background(rig.box(name)), expectedBackground);
    }
    QCOMPARE(rig.sourceDialog.shown, FakeFileDialog::Shown::None);
}

// Stored texts come back as they are: an emptied user name stays empty, blanks stay.
void MainWindowTest::storedValuesAreLoadedUnchanged() {
    WindowRig first;
    first.type("txtDatabase", QStringLiteral(" /daten/quelle.vdb "));
    first.box("txtUsername")->clear();
    first.type("txtDatabaseDest", QStringLiteral("/daten/ziel.vdb"));
    QVERIFY(first.window->close());

    WindowRig second(first.settings.values);
    QCOMPARE(second.box("txtDatabase")->text(), QStringLiteral(" /daten/quelle.vdb "));
    QCOMPARE(second.box("txtUsername")->text(), QString());
    QCOMPARE(second.box("txtDatabaseDest")->text(), QStringLiteral("/daten/ziel.vdb"));
    for (const char* name : {"txtPassword", "txtDestUser", "txtDestPassword"}) {
        QCOMPARE(second.box(name)->text(), QString());
    }
}

void MainWindowTest::closeSavesTheThreeFieldsButNoPassword() {
    WindowRig rig;
    QVERIFY(rig.show());
    rig.type("txtDatabase", QStringLiteral("/daten/quelle.vdb"));
    rig.type("txtPassword", QStringLiteral("QuellGeheim"));
    rig.type("txtDestUser", QStringLiteral("ZielBenutzer"));
    rig.type("txtDestPassword", QStringLiteral("ZielGeheim"));
    QVERIFY(rig.settings.writes.empty());

    QVERIFY(rig.window->close());

    using Address = testsupport::MemorySettingsStore::Address;
    const std::map<Address, std::string> expected = {
        {{"VeltronaDBCopy", "Startup", "SourceDatabase"}, "/daten/quelle.vdb"},
        {{"VeltronaDBCopy", "Startup", "UserName"}, "ADMIN"},
        {{"VeltronaDBCopy", "Startup", "DestDatabase"}, dbcopy::defaultDatabaseFolder()}};
    QVERIFY(rig.settings.values == expected);
}

void MainWindowTest::logMenuIsGerman() {
    WindowRig rig;
    QVERIFY(rig.show());
    const QStringList expected = {"Kopieren", "Alles markieren", "Protokoll speichern unter …",
                                  "Protokollordner öffnen", "Kopie prüfen (Wert für Wert)"};
    QStringList enabled;
    QCOMPARE(rig.useLogMenu(QString(), &enabled), expected);
    QVERIFY(!enabled.contains(QStringLiteral("Kopie prüfen (Wert für Wert)")));  // no run yet
}

void MainWindowTest::logMenuOpensTheLogFolder() {
    UrlCatcher fileManager;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &fileManager, "open");
    WindowRig rig;
    QVERIFY(rig.show());
    const QString folder = QString::fromStdString(rig.logFolder.path().string());
    QDir(folder).removeRecursively();

    rig.useLogMenu(QStringLiteral("Protokollordner öffnen"));

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(fileManager.opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
    QVERIFY(QDir(folder).exists());
}

// The time left follows the rate so far, as m:ss and from an hour on as h:mm:ss; between two
// showings lie at least a quarter of a second.
void MainWindowTest::titleTellsPercentAndTimeLeft() {
    using namespace std::chrono_literals;
    dbcopy::TitleProgress::Clock::time_point now;
    QString title;
    double fraction = -1;
    dbcopy::TitleProgress progress(
        QStringLiteral("Kopie"), [&](const QString& shown) { title = shown; },
        [&](double shown, bool visible) { fraction = visible ? shown : -1; }, [&] { return now; });

    progress.runStarted("a.vdb", "b.vdb");
    progress.sourceOpened(1000);
    QCOMPARE(title, QStringLiteral("0 % – Kopie"));
    now += 60s;
    progress.progress(370);
    QCOMPARE(title, QStringLiteral("37 % · noch 1:42 – Kopie"));
    QCOMPARE(fraction, 0.37);
    now += 100ms;
    progress.progress(380);
    QCOMPARE(title, QStringLiteral("37 % · noch 1:42 – Kopie"));
    progress.tableFinished(400);
    now += 60s;
    progress.progress(10);  // the next table
    QCOMPARE(title, QStringLiteral("41 % · noch 2:52 – Kopie"));

    progress.runStarted("a.vdb", "b.vdb");
    progress.sourceOpened(1000000);
    now += 60s;
    progress.progress(10000);
    QCOMPARE(title, QStringLiteral("1 % · noch 1:39:00 – Kopie"));
    progress.rebuildStarted();
    QCOMPARE(title, QStringLiteral("Indizes … – Kopie"));
    progress.runEnded();
    QCOMPARE(title, QStringLiteral("Kopie"));
    QCOMPARE(fraction, -1.0);
}

int runMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
