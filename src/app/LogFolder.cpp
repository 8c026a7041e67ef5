#include "app/LogFolder.h"

#include <QStandardPaths>

namespace dbcopy {

QString logFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/logs");
}

}  // namespace dbcopy
