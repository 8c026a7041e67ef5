#pragma once

#include "log/LogView.h"

#include <QTimer>

#include <chrono>

class QPlainTextEdit;

namespace dbcopy {

// The progress log's text in the window's log pane. Appending never rewrites the text already
// there, and the pane keeps no undo history, so a line costs the same however long the log is.
//
// Each line is in the pane's text at once, caret at its end, but the pane paints the lines that
// came in a burst together: painting a pane and its scroll bar costs far more than a line, and
// a run writes lines faster than anyone can read them.
class PlainTextLogView : public LogView {
public:
    // The longest a line waits before the pane paints it, so that a run's lines appear at least
    // 25 times a second while the event loop runs.
    static constexpr std::chrono::milliseconds kPaintDelay{30};

    explicit PlainTextLogView(QPlainTextEdit& pane);
    // Lets the pane paint again; the pane must still exist.
    ~PlainTextLogView() override;

    // text is UTF-8; CR LF ends a line. The pane paints it within kPaintDelay, or at
    // showPendingLines.
    void append(std::string_view text) override;
    void moveCaretToEnd() override;

    // Lets the pane paint every line appended so far at the next round of event processing.
    void showPendingLines();

private:
    void holdPainting();

    QPlainTextEdit& m_pane;
    QTimer m_paintTimer;  // single shot: ends the hold on painting
};

}  // namespace dbcopy
