// The window's controls: kinds, names, captions, positions, initial states and tab order.
#include "app/frmMain.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include <vector>

#include "app/AppIcons.h"
#include "app/Twips.h"
#include "app/WrappingCheckBox.h"

namespace dbcopy {

namespace {

// The small sans-serif font of classic dialogs, for which the fixed places and sizes are made;
// the platform's default face stands in where none of these is installed.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setPointSize(8);
    return font;
}

// Gives a new control its name and its place (in twips, relative to its parent).
template <typename Control>
Control* placed(Control* control, const char* name, QRect twipsGeometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twipsGeometry);
    return control;
}

// A label that takes the size of its caption, with its top-left corner at the given place.
QLabel* autoSizeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    QLabel* label = placed(new QLabel(caption, parent), name, geometry);
    label->adjustSize();
    return label;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    QGroupBox* box = placed(new QGroupBox(caption, parent), name, geometry);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// A check box; a two-line high one wraps its caption.
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool checked,
                    QRect geometry, bool twoLines = false) {
    QCheckBox* box =
        placed(twoLines ? new WrappingCheckBox(caption, parent) : new QCheckBox(caption, parent),
               name, geometry);
    box->setChecked(checked);
    return box;
}

// A browse button showing the open-folder picture and no text.
QPushButton* browseButton(QWidget* parent, const char* name, QRect geometry) {
    QPushButton* button = placed(new QPushButton(parent), name, geometry);
    button->setIcon(button->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setIconSize(QSize(16, 16));
    return button;
}

// Shows every character of the box as "*", whatever the style's own mask character.
void maskPassword(QLineEdit* box) {
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

bool takesFocus(const QWidget* control) {
    return (control->focusPolicy() & Qt::TabFocus) != 0;
}

}  // namespace

void frmMain::createControls() {
    setWindowTitle(QStringLiteral("Veltrona Datenbanken kopieren"));
    setWindowIcon(databaseIcon());
    setFixedSize(pixelsFromTwips(6540), pixelsFromTwips(6390));
    setFont(dialogFont());

    fraSettings =
        frame(this, "fraSettings", QStringLiteral(" "), rectFromTwips(120, 120, 6255, 3315));
    createSettingsFrame();

    txtLog = placed(new QPlainTextEdit(this), "txtLog", rectFromTwips(120, 3600, 6255, 2655));
    txtLog->setReadOnly(true);
    txtLog->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtLog->setFocusPolicy(Qt::StrongFocus);
    txtLog->setTabChangesFocus(true);
    txtLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette buttonFace = txtLog->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtLog->setPalette(buttonFace);

    applyTabOrder();
    assignAccessKeys();
    txtLog->setFocus();
}

void frmMain::createSettingsFrame() {
    Label1 = autoSizeLabel(fraSettings, "Label1", QStringLiteral("&Benutzer:"),
                           rectFromTwips(0, 0, 675, 195));
    createSourceControls();
    Line1 = placed(new QFrame(fraSettings), "Line1", rectFromTwips(0, 1425, 6240, 30));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    createTargetControls();
    chkDelete = checkBox(fraSettings, "chkDelete",
                         QStringLiteral("Vorhandene Datensätze in der Zieldatenbank löschen"), true,
                         rectFromTwips(120, 2760, 3495, 495), true);
    cmdStart = placed(new QPushButton(QStringLiteral("Start!"), fraSettings), "cmdStart",
                      rectFromTwips(4290, 2760, 1815, 375));
}

void frmMain::createSourceControls() {
    lblDatabase = autoSizeLabel(fraSettings, "lblDatabase", QStringLiteral("&Datenbank:"),
                                rectFromTwips(120, 285, 570, 195));
    txtDatabase =
        placed(new QLineEdit(fraSettings), "txtDatabase", rectFromTwips(1290, 240, 4455, 300));
    cmdDatabase = browseButton(fraSettings, "cmdDatabase", rectFromTwips(5745, 240, 360, 300));
    lblUsername = autoSizeLabel(fraSettings, "lblUsername", QStringLiteral("&Benutzer:"),
                                rectFromTwips(120, 675, 675, 195));
    txtUsername =
        placed(new QLineEdit(fraSettings), "txtUsername", rectFromTwips(1290, 630, 2010, 300));
    fraAdmin = frame(fraSettings, "fraAdmin", QStringLiteral("Verwaltung"),
                     rectFromTwips(3450, 630, 2655, 690));
    // Reaches up to the next box, so that the caption shows whole in the window's font.
    chkAdminDatabase = checkBox(fraAdmin, "chkAdminDatabase", QStringLiteral("D&atenbank"), true,
                                rectFromTwips(135, 300, 1200, 240));
    chkAdminUser = checkBox(fraAdmin, "chkAdminUser", QStringLiteral("B&enutzer"), false,
                            rectFromTwips(1395, 300, 1005, 240));
    lblPassword = autoSizeLabel(fraSettings, "lblPassword", QStringLiteral("&Kennwort:"),
                                rectFromTwips(120, 1065, 720, 195));
    txtPassword =
        placed(new QLineEdit(fraSettings), "txtPassword", rectFromTwips(1290, 1020, 2010, 300));
    maskPassword(txtPassword);
}

void frmMain::createTargetControls() {
    lblDatabaseDest = autoSizeLabel(fraSettings, "lblDatabaseDest", QStringLiteral("&Ziel-DB:"),
                                    rectFromTwips(120, 1575, 570, 195));
    txtDatabaseDest =
        placed(new QLineEdit(fraSettings), "txtDatabaseDest", rectFromTwips(1290, 1530, 4455, 300));
    cmdDatabaseDest =
        browseButton(fraSettings, "cmdDatabaseDest", rectFromTwips(5745, 1530, 360, 300));
    lblDestUserName = placed(new QLabel(QStringLiteral("Benutzer:"), fraSettings),
                             "lblDestUserName", rectFromTwips(120, 1935, 735, 255));
    txtDestUser =
        placed(new QLineEdit(fraSettings), "txtDestUser", rectFromTwips(1290, 1920, 2010, 285));
    // Reaches up to the frame's edge, so that the caption shows whole in the window's font.
    chkDestAvailable =
        checkBox(fraSettings, "chkDestAvailable", QStringLiteral("Ziel-DB ist bereits vorhanden"),
                 true, rectFromTwips(3720, 1920, 2505, 255));
    Label2 = autoSizeLabel(fraSettings, "Label2", QString(), rectFromTwips(240, 2160, 45, 195));
    lblDestPassword = placed(new QLabel(QStringLiteral("Kennwort:"), fraSettings),
                             "lblDestPassword", rectFromTwips(120, 2295, 975, 255));
    txtDestPassword =
        placed(new QLineEdit(fraSettings), "txtDestPassword", rectFromTwips(1290, 2280, 2010, 285));
    // The target password is masked like the source password.
    maskPassword(txtDestPassword);
}

// Chains the controls that take the focus in tab order; labels and frames take no place in it.
void frmMain::applyTabOrder() {
    const std::vector<QWidget*> inTabOrder = {
        txtLog,          fraSettings,     chkDelete,        cmdStart,        txtDatabase,
        txtUsername,     fraAdmin,        chkAdminDatabase, chkAdminUser,    cmdDatabase,
        txtDatabaseDest, cmdDatabaseDest, Label2,           Label1,          lblDatabase,
        lblUsername,     lblPassword,     lblDatabaseDest,  lblDestUserName, lblDestPassword,
        txtPassword,     txtDestUser,     txtDestPassword,  chkDestAvailable};
    QWidget* previous = nullptr;
    for (QWidget* control : inTabOrder) {
        if (!takesFocus(control)) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

// Each label's access key leads to the box beside it. Label1, on the frame's corner, repeats the
// caption of the source's user name label and leads to the same box. Label2 shows nothing.
void frmMain::assignAccessKeys() {
    Label1->setBuddy(txtUsername);
    lblDatabase->setBuddy(txtDatabase);
    lblUsername->setBuddy(txtUsername);
    lblPassword->setBuddy(txtPassword);
    lblDatabaseDest->setBuddy(txtDatabaseDest);
    lblDestUserName->setBuddy(txtDestUser);
    lblDestPassword->setBuddy(txtDestPassword);
}

}  // namespace dbcopy
