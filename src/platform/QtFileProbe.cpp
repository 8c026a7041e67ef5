#include "platform/QtFileProbe.h"

#include <QFileInfo>
#include <QString>

namespace dbcopy {

bool QtFileProbe::fileExists(const std::string& path) {
    try {
        if (path.empty()) return false;
        return QFileInfo(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())))
            .isFile();
    } catch (...) {
        return false;
    }
}

}  // namespace dbcopy
