// Renders the main window after a demo run into a PNG picture, for the README:
//
//   window_screenshot PASSWORD OUTPUT.png
//
// The window loads its paths from the settings store as at any start; this program types the
// password, switches to the source credentials for the new target, presses Start and, once the
// run has ended, saves what the window shows. The picture shows the paths of a typical
// installation instead of the folder the demo ran in.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "app/GermanTranslations.h"
#include "app/PlatformServices.h"
#include "app/frmMain.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    dbcopy::installGermanTranslations(application);
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_screenshot PASSWORD OUTPUT.png\n");
        return 2;
    }
    dbcopy::PlatformServices services;
    dbcopy::frmMain window(services.forWindow());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;

    window.findChild<QLineEdit*>("txtPassword")->setText(QString::fromLocal8Bit(argv[1]));
    QTest::mouseClick(window.findChild<QCheckBox*>("chkDestAvailable"), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>("cmdStart"), Qt::LeftButton);
    QTest::qWait(200);
    window.findChild<QLineEdit*>("txtDatabase")
        ->setText(QStringLiteral("/home/admin/Veltrona/quelle.vdb"));
    window.findChild<QLineEdit*>("txtDatabaseDest")
        ->setText(QStringLiteral("/home/admin/Veltrona/ziel.vdb"));

    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
