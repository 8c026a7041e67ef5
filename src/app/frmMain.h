#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindowServices.h"
#include "copy/ImportForm.h"
#include "settings/SettingsForm.h"
#include "verify/CopyCheck.h"

class QCheckBox;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dbcopy {

class ImportRun;
class LogPaneMenu;
class LogView;
class ProgressLog;
class RunArchive;
class RunRecorder;
class TitleProgress;

// The program's one window: it collects the inputs of an import, starts the run with its Start
// button, shows the progress log and refuses to close while a run is under way. The controls carry
// their names as object names, so that tests find them.
class frmMain : public QWidget, public ImportForm, public SettingsForm {
public:
    // Builds the controls and runs the load handler: configures both file dialogs, enables the
    // target's credential boxes and loads the remembered fields.
    explicit frmMain(MainWindowServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // True exactly while the Start handler runs an import or the log pane's menu checks a copy.
    bool isRunning() const { return bRunning; }

    // The fields the import run reads (texts in UTF-8). txtDestUser's enabled state is the one
    // it had before the run locked the settings.
    std::string text(FormText field) const override;
    bool isDestUserEnabled() const override;
    int deleteOption() const override;
    void setDeleteOption(int value) override;

    // The three remembered text boxes.
    std::string settingText(SettingsField field) const override;
    void setSettingText(SettingsField field, const std::string& text) override;

protected:
    // The close request: refused without a message while a run is under way; otherwise the window
    // closes and unloads, saving the settings.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createSettingsFrame();
    void createSourceControls();
    void createTargetControls();
    void applyTabOrder();
    void assignAccessKeys();
    void connectHandlers();

    // The event handlers.
    void load();
    void chkDestAvailableClick();
    void cmdDatabaseClick();
    void cmdDatabaseDestClick();
    void cmdStartClick();
    // "Kopie prüfen (Wert für Wert)": compares the last run's files, locked like a run, with
    // Start disabled; the lines go to the log pane below the run's and to the run's files.
    void checkCopyClick();
    void checkCopy();
    bool canCheckCopy() const;
    void unload();

    // During a run or a check every control of the settings frame but cmdStart is disabled;
    // unlocking enables again exactly the controls the lock disabled, and cmdStart.
    void lockSettings();
    void unlockSettings();
    // Cmd Start or Esc during a run: asks the run to stop; cmdStart stays disabled until it has.
    void cancelRun();
    // Says, after the run, that its log file or report could not be written.
    void tellLogFileFailure();

    // Own target credentials (enabled, white) or the source's (disabled, active-border colour).
    void setDestCredentials(bool own);
    QLineEdit* textBox(FormText field) const;
    QLineEdit* settingsBox(SettingsField field) const;

    MainWindowServices m_services;
    std::unique_ptr<LogView> m_logView;
    std::unique_ptr<ProgressLog> m_log;
    std::unique_ptr<ImportRun> m_import;
    std::unique_ptr<LogPaneMenu> m_logMenu;
    std::unique_ptr<RunRecorder> m_recorder;  // every run's summary
    std::unique_ptr<RunArchive> m_archive;    // every run's log file and report, when kept
    std::unique_ptr<TitleProgress> m_titleProgress;
    std::vector<QWidget*> m_lockedControls;    // disabled by the lock of the run under way
    std::string m_logFileFailure;              // the run's first failure to keep its files
    std::optional<CheckedCopy> m_checkedCopy;  // the last run's files and logins, in memory only,
                                               // once that run reached the copy
    bool bRunning = false;

    // Controls, owned by their parent widgets.
    QGroupBox* fraSettings = nullptr;
    QPlainTextEdit* txtLog = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDatabase = nullptr;
    QLineEdit* txtDatabase = nullptr;
    QPushButton* cmdDatabase = nullptr;
    QLabel* lblUsername = nullptr;
    QLineEdit* txtUsername = nullptr;
    QGroupBox* fraAdmin = nullptr;
    QCheckBox* chkAdminDatabase = nullptr;
    QCheckBox* chkAdminUser = nullptr;
    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* lblDatabaseDest = nullptr;
    QLineEdit* txtDatabaseDest = nullptr;
    QPushButton* cmdDatabaseDest = nullptr;
    QLabel* lblDestUserName = nullptr;
    QLineEdit* txtDestUser = nullptr;
    QCheckBox* chkDestAvailable = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblDestPassword = nullptr;
    QLineEdit* txtDestPassword = nullptr;
    QCheckBox* chkDelete = nullptr;
    QPushButton* cmdStart = nullptr;
};

}  // namespace dbcopy
