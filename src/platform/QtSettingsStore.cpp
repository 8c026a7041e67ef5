#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QString>

#include <memory>
#include <stdexcept>

namespace dbcopy {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::unique_ptr<QSettings> openSettings(const std::string& app) {
#if defined(_WIN32)
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
            fromUtf8(app),
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       fromUtf8(app));
#endif
}

QString settingKey(const std::string& section, const std::string& key) {
    return fromUtf8(section) + QLatin1Char('/') + fromUtf8(key);
}

void throwOnFailure(const QSettings& settings, const char* what) {
    if (settings.status() == QSettings::AccessError) {
        throw std::runtime_error(std::string(what) + ": no access to " +
                                 settings.fileName().toStdString());
    }
    if (settings.status() == QSettings::FormatError) {
        throw std::runtime_error(std::string(what) + ": malformed " +
                                 settings.fileName().toStdString());
    }
}

}  // namespace

std::string QtSettingsStore::readSetting(const std::string& app, const std::string& section,
                                         const std::string& key, const std::string& defaultText) {
    const auto settings = openSettings(app);
    throwOnFailure(*settings, "reading the settings");
    return settings->value(settingKey(section, key), fromUtf8(defaultText))
        .toString()
        .toStdString();
}

void QtSettingsStore::writeSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& text) {
    const auto settings = openSettings(app);
    settings->setValue(settingKey(section, key), fromUtf8(text));
    settings->sync();
    throwOnFailure(*settings, "writing the settings");
}

}  // namespace dbcopy
