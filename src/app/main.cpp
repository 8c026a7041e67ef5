// Starts the program: shows the main window and runs until it has been closed.
#include <QApplication>

#include "app/frmMain.h"
#include "engine/sqlite/SqliteEngine.h"
#include "platform/QtEventYield.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFileProbe.h"
#include "platform/QtSettingsStore.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    dbcopy::QtFileDialog sourceDialog;
    dbcopy::QtFileDialog destDialog;
    dbcopy::QtSettingsStore settings;
    dbcopy::QtEventYield yield;
    dbcopy::QtFileProbe files;
    dbcopy::frmMain window({sourceDialog, destDialog, settings, yield, files,
                            [] { return engine::sqlite::createServer(); }});
    window.show();
    return QApplication::exec();
}
