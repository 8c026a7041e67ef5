// Runs every suite of the window's tests in one application; the settings of all of them go to a
// temporary folder, never to the user's own configuration.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "AppTestSuites.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QTemporaryDir configHome;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome.path());
    int failures = runPlatformTests(argc, argv);
    failures += runMainWindowTests(argc, argv);
    failures += runImportFromWindowTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
