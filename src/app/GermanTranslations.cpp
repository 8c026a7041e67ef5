#include "app/GermanTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dbcopy {

bool installGermanTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // Number and date texts of Qt's widgets (sizes and dates in the file dialog) in German too.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    return true;
}

}  // namespace dbcopy
