#pragma once

#include <string_view>

namespace dbcopy {

// Where the progress log's text lives: the window's log pane, or memory in tests.
class LogView {
public:
    virtual ~LogView() = default;

    // Appends text at the very end; costs the same however long the log already is.
    virtual void append(std::string_view text) = 0;

    // Empties the selection and puts the caret after the last character, scrolling it into view.
    virtual void moveCaretToEnd() = 0;
};

}  // namespace dbcopy
