// Starts the program: shows the main window and runs until it has been closed.
#include <QApplication>

#include "app/PlatformServices.h"
#include "app/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Names the per-user data folder: ~/.local/share/VeltronaDBCopy on Linux.
    QApplication::setApplicationName(QStringLiteral("VeltronaDBCopy"));
    dbcopy::PlatformServices services;
    dbcopy::frmMain window(services.forWindow());
    window.show();
    return QApplication::exec();
}
