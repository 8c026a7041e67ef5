#include "platform/QtFileDialog.h"

#include <QDir>
#include <QFileInfo>

namespace dbcopy {

namespace {

// Opens the dialog in the folder of path when that folder exists, proposing the path's file name;
// otherwise in the user's home folder, proposing only the file name. An existing folder given as
// the path opens the dialog in it with no name proposed.
void placeAtStart(QFileDialog& dialog, const QString& path) {
    const QFileInfo info(path);
    if (info.isAbsolute() && info.isDir()) {
        dialog.setDirectory(info.absoluteFilePath());
        return;
    }
    const bool folderExists = info.isAbsolute() && info.dir().exists();
    dialog.setDirectory(folderExists ? info.absolutePath() : QDir::homePath());
    if (!info.fileName().isEmpty()) dialog.selectFile(info.fileName());
}

}  // namespace

void QtFileDialog::configure(const FileDialogOptions& options) {
    m_options = options;
}

void QtFileDialog::setFileName(const QString& name) {
    m_fileName = name;
}

QString QtFileDialog::fileName() const {
    return m_fileName;
}

bool QtFileDialog::showOpen(QWidget* parent) {
    return show(parent, QFileDialog::AcceptOpen);
}

bool QtFileDialog::showSave(QWidget* parent) {
    return show(parent, QFileDialog::AcceptSave);
}

bool QtFileDialog::show(QWidget* parent, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, m_options.title);
    // Qt's own dialog speaks the program's language; a desktop's dialog would follow the system's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    const bool existingOnly = mode == QFileDialog::AcceptOpen && m_options.fileMustExist;
    dialog.setFileMode(existingOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !m_options.confirmOverwrite);
    dialog.setNameFilters(m_options.nameFilters);
    dialog.selectNameFilter(m_options.nameFilters.value(m_options.filterIndex - 1));
    dialog.setDefaultSuffix(m_options.defaultSuffix);
    placeAtStart(dialog, m_fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    m_fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

}  // namespace dbcopy
