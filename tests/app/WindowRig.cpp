#include "WindowRig.h"

#include <QTest>

#include "engine/sqlite/SqliteEngine.h"

namespace testsupport {

WindowRig::WindowRig(const std::map<MemorySettingsStore::Address, std::string>& stored) {
    settings.values = stored;
    window = std::make_unique<dbcopy::frmMain>(dbcopy::MainWindowServices{
        sourceDialog, destDialog, settings, yield, files,
        [] { return engine::sqlite::createServer(); }, logFolder.path().string(),
        [this](const std::string& message) { logFailures.push_back(message); }});
}

WindowRig::~WindowRig() {
    yield.onYield = nullptr;
    window.reset();
}

bool WindowRig::show() {
    window->show();
    return QTest::qWaitForWindowExposed(window.get());
}

void WindowRig::click(const char* name) const {
    QWidget* target = control<QWidget>(name);
    const QPoint point = qobject_cast<QCheckBox*>(target) != nullptr
                             ? QPoint(6, target->height() / 2)
                             : target->rect().center();
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point);
}

void WindowRig::type(const char* name, const QString& text) const {
    QLineEdit* target = box(name);
    target->clear();
    QTest::keyClicks(target, text);
}

QString WindowRig::logText() const {
    return control<QPlainTextEdit>("txtLog")->toPlainText();
}

}  // namespace testsupport
