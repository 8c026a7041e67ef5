#include "platform/QtFileDialog.h"

#include <QDir>
#include <QFileInfo>

namespace dbcopy {

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
    dialog.setAcceptMode(mode);
    const bool existingOnly = mode == QFileDialog::AcceptOpen && m_options.fileMustExist;
    dialog.setFileMode(existingOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !m_options.confirmOverwrite);
    dialog.setNameFilters(m_options.nameFilters);
    dialog.selectNameFilter(m_options.nameFilters.value(m_options.filterIndex - 1));
    dialog.setDefaultSuffix(m_options.defaultSuffix);
    if (QFileInfo(m_fileName).isDir()) {
        dialog.setDirectory(m_fileName);
    } else if (!m_fileName.isEmpty()) {
        dialog.selectFile(m_fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    m_fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

}  // namespace dbcopy
