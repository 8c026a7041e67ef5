#pragma once

#include "log/LogView.h"

class QPlainTextEdit;

namespace dbcopy {

// The progress log's text in the window's log pane. Appending never rewrites the text already
// there, and the pane keeps no undo history, so a line costs the same however long the log is.
class PlainTextLogView : public LogView {
public:
    explicit PlainTextLogView(QPlainTextEdit& pane);

    // text is UTF-8; CR LF ends a line.
    void append(std::string_view text) override;
    void moveCaretToEnd() override;

private:
    QPlainTextEdit& m_pane;
};

}  // namespace dbcopy
