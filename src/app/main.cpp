// Starts the program: shows the main window and runs until it has been closed.
#include <QApplication>

#include "app/GermanTranslations.h"
#include "app/PlatformServices.h"
#include "app/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    dbcopy::installGermanTranslations(application);
    dbcopy::PlatformServices services;
    dbcopy::frmMain window(services.forWindow());
    window.show();
    return QApplication::exec();
}
