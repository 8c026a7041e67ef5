// Renders the main window after a demo run into a PNG picture, for the README:
//
//   window_screenshot PASSWORD OUTPUT.png
//
// The window loads its paths from the settings store as at any start; this program types the
// password, switches to the source credentials for the new target, presses Start and, once the
// run has ended, saves what the window shows. The picture shows the paths of a typical
// installation instead of the folder the demo ran in (on Windows, the CRM's own folder).
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include "app/GermanTranslations.h"
#include "app/PlatformServices.h"
#include "app/frmMain.h"

namespace {

#ifdef _WIN32
constexpr const char16_t* kShownSource = u"C:\\ProgramData\\VelDB\\Veltrona CRM 2010\\quelle.vdb";
constexpr const char16_t* kShownTarget = u"C:\\ProgramData\\VelDB\\Veltrona CRM 2010\\ziel.vdb";
#else
constexpr const char16_t* kShownSource = u"/home/admin/Veltrona/quelle.vdb";
constexpr const char16_t* kShownTarget = u"/home/admin/Veltrona/ziel.vdb";
#endif

}  // namespace

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
    window.findChild<QLineEdit*>("txtDatabase")->setText(QString::fromUtf16(kShownSource));
    window.findChild<QLineEdit*>("txtDatabaseDest")->setText(QString::fromUtf16(kShownTarget));

    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
