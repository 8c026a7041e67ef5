#include "app/frmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QtDebug>

#include <algorithm>
#include <exception>
#include <utility>

#include "app/LauncherProgress.h"
#include "app/LogPaneMenu.h"
#include "app/TitleProgress.h"
#include "copy/ImportRun.h"
#include "copy/RecordYield.h"
#include "copy/RequireObject.h"
#include "log/ProgressLog.h"
#include "platform/FileDialog.h"
#include "platform/FileDialogOptions.h"
#include "platform/PlainTextLogView.h"
#include "report/RunArchive.h"
#include "report/RunRecorder.h"
#include "settings/Settings.h"

namespace dbcopy {

namespace {

// Both dialogs show the same title, also as a save dialog, and only database files.
FileDialogOptions databaseDialogOptions() {
    FileDialogOptions options;
    options.title = QStringLiteral("Datenbank öffnen");
    options.nameFilters = {QStringLiteral("Veltrona Datenbank (*.vdb)")};
    options.filterIndex = 1;
    options.defaultSuffix = QStringLiteral("vdb");
    return options;
}

// True when the run got as far as the copy of a table.
bool reachedCopy(const RunSummary& summary) {
    return std::any_of(summary.tables.begin(), summary.tables.end(), [](const TableSummary& table) {
        return table.status != TableStatus::NotReached;
    });
}

// Runs one step of a handler that goes on past a failure, so that a failing step is skipped.
template <typename Step>
void runStep(const char* name, Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        qWarning("%s failed: %s", name, error.what());
    } catch (...) {
        qWarning("%s failed", name);
    }
}

void setBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

}  // namespace

frmMain::frmMain(MainWindowServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    createControls();
    m_logView = std::make_unique<PlainTextLogView>(*txtLog);
    m_log = std::make_unique<ProgressLog>(*m_logView, m_services.yield);
    m_import = std::make_unique<ImportRun>(*this, *m_log, m_services.yield, m_services.files,
                                           m_services.createServer);
    m_logMenu = std::make_unique<LogPaneMenu>(*txtLog, m_services.comdlgLogFile,
                                              QString::fromStdString(m_services.logFolder));
    m_logMenu->offerCopyCheck([this] { return canCheckCopy(); }, [this] { checkCopyClick(); });
    m_recorder = std::make_unique<RunRecorder>();
    m_import->addObserver(*m_recorder);
    if (!m_services.logFolder.empty()) {
        m_archive =
            std::make_unique<RunArchive>(m_services.logFolder, [this](const std::string& message) {
                if (m_logFileFailure.empty()) {
                    m_logFileFailure = message;
                }
            });
        m_import->addObserver(*m_archive);
    }
    m_titleProgress = std::make_unique<TitleProgress>(
        windowTitle(), [this](const QString& title) { setWindowTitle(title); },
        &LauncherProgress::show, m_services.clock);
    m_import->addObserver(*m_titleProgress);
    connectHandlers();
    load();
}

frmMain::~frmMain() = default;

void frmMain::connectHandlers() {
    connect(chkDestAvailable, &QCheckBox::clicked, this, [this] { chkDestAvailableClick(); });
    connect(cmdDatabase, &QPushButton::clicked, this, [this] { cmdDatabaseClick(); });
    connect(cmdDatabaseDest, &QPushButton::clicked, this, [this] { cmdDatabaseDestClick(); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStartClick(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (bRunning && cmdStart->isEnabled()) cancelRun();
    });
}

// A settings store that cannot be read leaves the remaining boxes empty; the window opens anyway.
void frmMain::load() {
    FileDialogOptions source = databaseDialogOptions();
    source.fileMustExist = true;
    m_services.comdlgSourceFile.configure(source);
    FileDialogOptions target = databaseDialogOptions();
    target.confirmOverwrite = true;
    m_services.comdlgDestFile.configure(target);

    txtDestPassword->setEnabled(true);
    txtDestUser->setEnabled(true);
    runStep("LoadSettings", [this] { LoadSettings(m_services.settings, *this); });
}

void frmMain::chkDestAvailableClick() {
    setDestCredentials(chkDestAvailable->isChecked());
}

// Own credentials get a white background; the source's get the active window border's colour,
// for which the palette's Mid role (a medium grey between button face and shadow) stands in.
void frmMain::setDestCredentials(bool own) {
    const QColor background = own ? QColor(Qt::white) : palette().color(QPalette::Mid);
    for (QLineEdit* box : {txtDestPassword, txtDestUser}) {
        box->setEnabled(own);
        setBackground(box, background);
    }
}

void frmMain::cmdDatabaseClick() {
    FileDialog& dialog = m_services.comdlgSourceFile;
    runStep("setting the initial file name", [&] { dialog.setFileName(txtDatabase->text()); });
    runStep("browsing for the source", [&] {
        if (dialog.showOpen(this)) txtDatabase->setText(dialog.fileName());
    });
}

// A cancelled dialog or a failing step leaves the path and the credential boxes as they were.
void frmMain::cmdDatabaseDestClick() {
    FileDialog& dialog = m_services.comdlgDestFile;
    runStep("browsing for the target", [&] {
        dialog.setFileName(txtDatabaseDest->text());
        const bool targetExists = chkDestAvailable->isChecked();
        const bool confirmed = targetExists ? dialog.showOpen(this) : dialog.showSave(this);
        if (!confirmed) return;
        setDestCredentials(targetExists);
        txtDatabaseDest->setText(dialog.fileName());
    });
}

void frmMain::cmdStartClick() {
    if (bRunning) {
        cancelRun();
        return;
    }
    runStep("setting the busy flag", [this] { bRunning = true; });
    runStep("locking the settings", [this] {
        lockSettings();
        cmdStart->setText(QStringLiteral("Abbrechen"));
    });
    runStep("emptying the log", [this] { txtLog->clear(); });
    runStep("SaveSettings", [this] { SaveSettings(m_services.settings, *this); });
    runStep("noting the run's files", [this] { m_checkedCopy = checkedCopyOf(*this); });
    runStep("RunImport", [this] { m_import->RunImport(); });
    runStep("keeping the run's files for a check", [this] {
        if (!reachedCopy(m_recorder->summary())) m_checkedCopy.reset();
    });
    runStep("keeping the run's files", [this] {
        if (m_archive) m_archive->finish(m_recorder->summary());
    });
    runStep("restoring the title", [this] { m_titleProgress->runEnded(); });
    runStep("unlocking the settings", [this] { unlockSettings(); });
    runStep("clearing the busy flag", [this] { bRunning = false; });
    runStep("telling about the run's files", [this] { tellLogFileFailure(); });
}

void frmMain::checkCopyClick() {
    if (!canCheckCopy()) return;
    runStep("setting the busy flag", [this] { bRunning = true; });
    runStep("locking the settings", [this] {
        lockSettings();
        cmdStart->setEnabled(false);
    });
    runStep("checking the copy", [this] { checkCopy(); });
    runStep("unlocking the settings", [this] { unlockSettings(); });
    runStep("clearing the busy flag", [this] { bRunning = false; });
    runStep("telling about the run's files", [this] { tellLogFileFailure(); });
}

void frmMain::checkCopy() {
    std::vector<std::string> lines;
    const auto server = requireObject(m_services.createServer());
    const auto results = dbcopy::checkCopy(*server, *m_checkedCopy, m_services.yield,
                                           [this, &lines](const std::string& line) {
                                               m_log->AddLog(line);
                                               lines.push_back(line);
                                           });
    if (!m_archive) return;
    RunSummary summary = m_recorder->summary();
    summary.setContent(results);
    m_archive->appendCheck(lines, summary);
}

bool frmMain::canCheckCopy() const {
    return !bRunning && m_checkedCopy.has_value();
}

void frmMain::lockSettings() {
    m_lockedControls.clear();
    for (QWidget* control : fraSettings->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control == cmdStart || !control->isEnabled()) continue;
        m_lockedControls.push_back(control);
        control->setEnabled(false);
    }
}

void frmMain::unlockSettings() {
    for (QWidget* control : m_lockedControls) control->setEnabled(true);
    m_lockedControls.clear();
    cmdStart->setText(QStringLiteral("Start!"));
    cmdStart->setEnabled(true);
}

void frmMain::cancelRun() {
    m_import->requestCancel();
    cmdStart->setText(QStringLiteral("Wird abgebrochen …"));
    cmdStart->setEnabled(false);
}

void frmMain::tellLogFileFailure() {
    if (m_logFileFailure.empty()) return;
    const std::string message = std::exchange(m_logFileFailure, {});
    if (m_services.logFileFailed) m_services.logFileFailed(message);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (bRunning) {
        event->ignore();
        return;
    }
    event->accept();
    unload();
}

// A settings store that cannot be written keeps the values of the last save.
void frmMain::unload() {
    runStep("SaveSettings", [this] { SaveSettings(m_services.settings, *this); });
}

QLineEdit* frmMain::textBox(FormText field) const {
    switch (field) {
        case FormText::txtDatabase:
            return txtDatabase;
        case FormText::txtUsername:
            return txtUsername;
        case FormText::txtPassword:
            return txtPassword;
        case FormText::txtDatabaseDest:
            return txtDatabaseDest;
        case FormText::txtDestUser:
            return txtDestUser;
        case FormText::txtDestPassword:
            return txtDestPassword;
    }
    return nullptr;
}

std::string frmMain::text(FormText field) const {
    return textBox(field)->text().toStdString();
}

bool frmMain::isDestUserEnabled() const {
    return txtDestUser->isEnabled() || std::find(m_lockedControls.begin(), m_lockedControls.end(),
                                                 txtDestUser) != m_lockedControls.end();
}

int frmMain::deleteOption() const {
    return chkDelete->isChecked() ? 1 : 0;
}

void frmMain::setDeleteOption(int value) {
    chkDelete->setChecked(value != 0);
}

QLineEdit* frmMain::settingsBox(SettingsField field) const {
    switch (field) {
        case SettingsField::txtDatabase:
            return txtDatabase;
        case SettingsField::txtUsername:
            return txtUsername;
        case SettingsField::txtDatabaseDest:
            return txtDatabaseDest;
    }
    return nullptr;
}

std::string frmMain::settingText(SettingsField field) const {
    return settingsBox(field)->text().toStdString();
}

void frmMain::setSettingText(SettingsField field, const std::string& text) {
    settingsBox(field)->setText(QString::fromStdString(text));
}

}  // namespace dbcopy
