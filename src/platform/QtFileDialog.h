#pragma once

#include <QFileDialog>

#include "platform/FileDialog.h"
#include "platform/FileDialogOptions.h"

namespace dbcopy {

// FileDialog shown with Qt's own file dialog. It offers no read-only option and only ever lets the
// user pick a name in an existing folder. It opens in the folder of the initial name when that
// folder exists, otherwise in the user's home folder with only the name proposed.
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
