#pragma once

#include <QString>

#include "platform/FileDialog.h"
#include "platform/FileDialogOptions.h"

namespace testsupport {

// A file dialog with a canned answer: the name the user "chooses", or a cancel. It remembers how it
// was configured, the name it was handed and which kind of dialog was asked for.
class FakeFileDialog : public dbcopy::FileDialog {
public:
    enum class Shown { None, Open, Save };

    void configure(const dbcopy::FileDialogOptions& settings) override {
        options = settings;
        ++configureCalls;
    }
    void setFileName(const QString& name) override {
        m_fileName = name;
        initialName = name;
    }
    QString fileName() const override { return m_fileName; }
    bool showOpen(QWidget*) override { return answer(Shown::Open); }
    bool showSave(QWidget*) override { return answer(Shown::Save); }

    // The next answer: confirm chosenName, or cancel.
    void willChoose(const QString& chosenName) {
        m_chosenName = chosenName;
        m_cancels = false;
    }
    void willCancel() { m_cancels = true; }

    dbcopy::FileDialogOptions options;
    int configureCalls = 0;
    QString initialName;
    Shown shown = Shown::None;

private:
    bool answer(Shown how) {
        shown = how;
        if (m_cancels) return false;
        m_fileName = m_chosenName;
        return true;
    }

    QString m_fileName;
    QString m_chosenName;
    bool m_cancels = true;
};

}  // namespace testsupport
