#pragma once

#include <QString>

namespace dbcopy {

// Writes the log pane's text to the file at path as UTF-8 (no byte-order mark) with CR LF after
// every line, replacing the file as a whole only once everything is written. paneText is the
// document's raw text, in which a paragraph separator ends each line.
// Throws std::runtime_error with a German message when the file cannot be written; an existing
// file at path is then left as it was.
void writeLogTextFile(const QString& paneText, const QString& path);

}  // namespace dbcopy
