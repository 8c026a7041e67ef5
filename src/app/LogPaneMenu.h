#pragma once

#include <QString>

#include <functional>

class QPlainTextEdit;
class QPoint;

namespace dbcopy {

class FileDialog;

// The log pane's context menu: "Kopieren", "Alles markieren", "Protokoll speichern unter …"
// (through saveDialog) and "Protokollordner öffnen" (the folder of the runs' log files, in the
// desktop's file manager), and once offered, "Kopie prüfen (Wert für Wert)". During a run the
// menu and the dialog hold the run until they close.
class LogPaneMenu {
public:
    // Takes over pane's context menu and configures saveDialog; both must outlive the menu.
    LogPaneMenu(QPlainTextEdit& pane, FileDialog& saveDialog, QString logFolder);

    // Adds the entry "Kopie prüfen (Wert für Wert)", enabled while isEnabled says so; choosing
    // it calls check.
    void offerCopyCheck(std::function<bool()> isEnabled, std::function<void()> check);

private:
    void show(const QPoint& position);
    // Writes the pane's text to a file the user picks; a failure is reported in a message box.
    void saveAs();
    // Creates the log folder when missing and opens it; a failure is reported in a message box.
    void openLogFolder();

    QPlainTextEdit& m_pane;
    FileDialog& m_saveDialog;
    QString m_logFolder;
    std::function<bool()> m_canCheckCopy;  // null until the check is offered
    std::function<void()> m_checkCopy;
};

}  // namespace dbcopy
