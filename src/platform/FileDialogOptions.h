#pragma once

#include <QString>
#include <QStringList>

namespace dbcopy {

// What a file dialog shows and which names it accepts.
struct FileDialogOptions {
    QString title;                  // also when shown as a save dialog
    QStringList nameFilters;        // e.g. "Veltrona Datenbank (*.vdb)"
    int filterIndex = 1;            // the selected filter, counting from 1
    QString defaultSuffix;          // without the dot; appended to a name typed without one
    bool fileMustExist = false;     // open: only an existing file is accepted
    bool confirmOverwrite = false;  // save: asks before an existing file is chosen
};

}  // namespace dbcopy
