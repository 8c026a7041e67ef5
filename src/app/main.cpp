// Starts the program: shows the main window and runs until it has been closed. With --version
// it prints the version and ends without opening a window (so it needs no display); every other
// argument is ignored.
#include "app/GermanTranslations.h"
#include "app/PlatformServices.h"
#include "app/frmMain.h"
#include "platform/ParentConsole.h"
#include "version/Version.h"

#include <QApplication>
#include <QString>

#include <algorithm>
#include <iostream>
#include <string_view>

namespace {

// The window's class on X11 (the desktop entry's StartupWMClass) and the name of the per-user
// data folder (~/.local/share/VeltronaDBCopy on Linux).
constexpr const char* kWindowClass = "VeltronaDBCopy";
// The desktop entry, the icon and the AppStream metainfo share this name (the app id on Wayland).
constexpr const char* kDesktopFileName = "example.veltrona.VeltronaDBCopy";

bool asksForVersion(int argc, char* argv[]) {
    return std::any_of(argv + 1, argv + argc,
                       [](const char* arg) { return std::string_view(arg) == "--version"; });
}

}  // namespace

int main(int argc, char* argv[]) {
    if (asksForVersion(argc, argv)) {
        dbcopy::useParentConsoleForOutput();
        std::cout << "veltrona-dbcopy " << veltrona::kVersion << "\n" << veltrona::kLicence << "\n";
        return 0;
    }
    QApplication::setApplicationName(QString::fromLatin1(kWindowClass));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication application(argc, argv);
    dbcopy::installGermanTranslations(application);
    dbcopy::PlatformServices services;
    dbcopy::frmMain window(services.forWindow());
    window.show();
    return QApplication::exec();
}
