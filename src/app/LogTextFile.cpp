#include "app/LogTextFile.h"

#include <QDir>
#include <QSaveFile>

#include <stdexcept>

namespace dbcopy {

namespace {

[[noreturn]] void throwWriteError(const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("Das Protokoll konnte nicht als „%1“ gespeichert "
                                            "werden: %2")
                                 .arg(QDir::toNativeSeparators(path), reason)
                                 .toStdString());
}

}  // namespace

void writeLogTextFile(const QString& paneText, const QString& path) {
    QString text = paneText;
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throwWriteError(path, file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        throwWriteError(path, file.errorString());
    }
}

}  // namespace dbcopy
