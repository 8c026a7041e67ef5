#include "WindowRig.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "engine/sqlite/SqliteEngine.h"

namespace testsupport {

WindowRig::WindowRig(const std::map<MemorySettingsStore::Address, std::string>& stored) {
    settings.values = stored;
    window = std::make_unique<dbcopy::frmMain>(dbcopy::MainWindowServices{
        sourceDialog, destDialog, logDialog, settings, yield, files,
        [] { return engine::sqlite::createServer(); }, logFolder.path().string(),
        [this](const std::string& message) { logFailures.push_back(message); },
        [this] { return clock.advance(); }});
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

QStringList WindowRig::enabledInputs() const {
    QStringList names;
    for (QWidget* control : control<QWidget>("fraSettings")->findChildren<QWidget*>()) {
        const bool takesInput = control->focusPolicy() != Qt::NoFocus;
        if (takesInput && control->isEnabled() && control->objectName() != "cmdStart") {
            names << control->objectName();
        }
    }
    return names;
}

QStringList WindowRig::useLogMenu(const QString& choice, QStringList* enabled) const {
    QWidget* viewport = control<QPlainTextEdit>("txtLog")->viewport();
    QStringList texts;
    // The menu runs its own event loop; the timer acts inside it once the menu is up.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        poll.stop();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            texts << action->text();
            if (enabled != nullptr && action->isEnabled()) *enabled << action->text();
            if (action->text() == choice) chosen = action;
        }
        menu->close();
        if (chosen != nullptr) chosen->trigger();
    });
    poll.start();
    const QPoint inside = viewport->rect().center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, inside, viewport->mapToGlobal(inside));
    QApplication::sendEvent(viewport, &rightClick);
    return texts;
}

}  // namespace testsupport
