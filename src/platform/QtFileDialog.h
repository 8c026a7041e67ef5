#pragma once

#include <QFileDialog>

#include "platform/FileDialog.h"
#include "platform/FileDialogOptions.h"

namespace dbcopy {

// FileDialog shown with the platform's file dialog. Qt's dialogs offer no read-only option and
// only ever let the user pick a name in an existing folder.
class QtFileDialog : public FileDialog {
public:
    void configure(const FileDialogOptions& options) override;
    void setFileName(const QString& name) override;
    QString fileName() const override;
    bool showOpen(QWidget* parent) override;
    bool showSave(QWidget* parent) override;

private:
    bool show(QWidget* parent, QFileDialog::AcceptMode mode);

    FileDialogOptions m_options;
    QString m_fileName;
};

}  // namespace dbcopy
