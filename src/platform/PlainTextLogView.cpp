#include "platform/PlainTextLogView.h"

#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>

namespace dbcopy {

PlainTextLogView::PlainTextLogView(QPlainTextEdit& pane) : m_pane(pane) {
    m_pane.setUndoRedoEnabled(false);
    m_paintTimer.setSingleShot(true);
    m_paintTimer.setInterval(kPaintDelay);
    QObject::connect(&m_paintTimer, &QTimer::timeout, &m_pane, [this] { showPendingLines(); });
}

PlainTextLogView::~PlainTextLogView() {
    if (m_paintTimer.isActive()) showPendingLines();
}

void PlainTextLogView::append(std::string_view text) {
    holdPainting();
    QTextCursor end(m_pane.document());
    end.movePosition(QTextCursor::End);
    // The cursor turns CR LF into one line break of the document.
    end.insertText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void PlainTextLogView::moveCaretToEnd() {
    QTextCursor caret = m_pane.textCursor();
    caret.movePosition(QTextCursor::End);
    m_pane.setTextCursor(caret);
    m_pane.ensureCursorVisible();
}

void PlainTextLogView::showPendingLines() {
    m_paintTimer.stop();
    m_pane.setUpdatesEnabled(true);  // repaints the pane and its scroll bars
}

// While painting is held, the pane and its scroll bars ignore requests to repaint; the end of
// the hold repaints them whole.
void PlainTextLogView::holdPainting() {
    if (m_paintTimer.isActive()) return;
    m_pane.setUpdatesEnabled(false);
    m_paintTimer.start();
}

}  // namespace dbcopy
