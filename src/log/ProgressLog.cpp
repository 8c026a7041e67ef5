#include "log/ProgressLog.h"

#include "log/EventYield.h"
#include "log/LogView.h"

namespace dbcopy {

ProgressLog::ProgressLog(LogView& view, EventYield& yield) : m_view(view), m_yield(yield) {}

void ProgressLog::AddLog(std::string_view message) {
    m_line.assign(message);
    m_line += "\r\n";
    m_view.append(m_line);
    m_view.moveCaretToEnd();
    m_yield.yieldNow();
}

}  // namespace dbcopy
