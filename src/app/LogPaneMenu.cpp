#include "app/LogPaneMenu.h"

#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QUrl>

#include <exception>
#include <utility>

#include "app/LogTextFile.h"
#include "platform/FileDialog.h"
#include "platform/FileDialogOptions.h"

namespace dbcopy {

namespace {

FileDialogOptions logFileDialogOptions() {
    FileDialogOptions options;
    options.title = QStringLiteral("Protokoll speichern unter");
    options.nameFilters = {QStringLiteral("Protokolldatei (*.log)"),
                           QStringLiteral("Textdatei (*.txt)")};
    options.filterIndex = 1;
    options.defaultSuffix = QStringLiteral("log");
    options.confirmOverwrite = true;
    return options;
}

}  // namespace

LogPaneMenu::LogPaneMenu(QPlainTextEdit& pane, FileDialog& saveDialog, QString logFolder)
    : m_pane(pane), m_saveDialog(saveDialog), m_logFolder(std::move(logFolder)) {
    m_saveDialog.configure(logFileDialogOptions());
    m_saveDialog.setFileName(QStringLiteral("Protokoll.log"));
    m_pane.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&m_pane, &QWidget::customContextMenuRequested, &m_pane,
                     [this](const QPoint& position) { show(position); });
}

void LogPaneMenu::offerCopyCheck(std::function<bool()> isEnabled, std::function<void()> check) {
    m_canCheckCopy = std::move(isEnabled);
    m_checkCopy = std::move(check);
}

void LogPaneMenu::show(const QPoint& position) {
    QMenu menu(&m_pane);
    menu.setObjectName(QStringLiteral("txtLogMenu"));
    QAction* copy = menu.addAction(QStringLiteral("Kopieren"), &m_pane, &QPlainTextEdit::copy);
    copy->setEnabled(m_pane.textCursor().hasSelection());
    QAction* selectAll =
        menu.addAction(QStringLiteral("Alles markieren"), &m_pane, &QPlainTextEdit::selectAll);
    selectAll->setEnabled(!m_pane.document()->isEmpty());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Protokoll speichern unter …"), &m_pane, [this] { saveAs(); });
    menu.addAction(QStringLiteral("Protokollordner öffnen"), &m_pane, [this] { openLogFolder(); });
    if (m_canCheckCopy) {
        menu.addSeparator();
        QAction* check = menu.addAction(QStringLiteral("Kopie prüfen (Wert für Wert)"), &m_pane,
                                        [this] { m_checkCopy(); });
        check->setEnabled(m_canCheckCopy());
    }
    menu.exec(m_pane.viewport()->mapToGlobal(position));
}

void LogPaneMenu::saveAs() {
    if (!m_saveDialog.showSave(&m_pane)) return;
    try {
        writeLogTextFile(m_pane.document()->toRawText(), m_saveDialog.fileName());
    } catch (const std::exception& error) {
        QMessageBox::warning(&m_pane, QStringLiteral("Protokoll speichern"),
                             QString::fromUtf8(error.what()));
    }
}

void LogPaneMenu::openLogFolder() {
    if (QDir().mkpath(m_logFolder) && QDesktopServices::openUrl(QUrl::fromLocalFile(m_logFolder))) {
        return;
    }
    QMessageBox::warning(&m_pane, QStringLiteral("Protokollordner öffnen"),
                         QStringLiteral("Der Protokollordner „%1“ konnte nicht geöffnet werden.")
                             .arg(QDir::toNativeSeparators(m_logFolder)));
}

}  // namespace dbcopy
