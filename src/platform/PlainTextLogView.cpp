#include "platform/PlainTextLogView.h"

#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>

namespace dbcopy {

PlainTextLogView::PlainTextLogView(QPlainTextEdit& pane) : m_pane(pane) {
    m_pane.setUndoRedoEnabled(false);
}

void PlainTextLogView::append(std::string_view text) {
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

}  // namespace dbcopy
