#pragma once

#include <QString>

class QWidget;

namespace dbcopy {

struct FileDialogOptions;

// A file dialog component of the window: configured once, handed an initial file name and shown
// as an open or a save dialog. Tests put canned answers in its place.
class FileDialog {
public:
    virtual ~FileDialog() = default;

    virtual void configure(const FileDialogOptions& options) = 0;

    // The name the dialog starts with; a folder opens the dialog in that folder.
    virtual void setFileName(const QString& name) = 0;

    // The full path of the file last confirmed, or the initial name while none was confirmed.
    virtual QString fileName() const = 0;

    // Shows the dialog modally; true when the user confirmed a file, false when cancelled, in which
    // case fileName() is unchanged.
    virtual bool showOpen(QWidget* parent) = 0;
    virtual bool showSave(QWidget* parent) = 0;
};

}  // namespace dbcopy
