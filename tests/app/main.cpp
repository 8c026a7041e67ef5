// Runs every suite of the window's tests in one application, with Qt's German texts as the program
// has them. The settings and the log folder of all of them go to a temporary folder, never to the
// user's own.
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "AppTestSuites.h"
#include "app/GermanTranslations.h"

int main(int argc, char** argv) {
    QTemporaryDir userFolders;
    qputenv("XDG_DATA_HOME", QFile::encodeName(userFolders.filePath(QStringLiteral("data"))));
    QApplication application(argc, argv);
    if (!dbcopy::installGermanTranslations(application)) return 1;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       userFolders.filePath(QStringLiteral("config")));
    int failures = runPlatformTests(argc, argv);
    failures += runMainWindowTests(argc, argv);
    failures += runImportFromWindowTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
