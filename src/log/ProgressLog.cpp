#include "log/ProgressLog.h"

#include "log/EventYield.h"
#include "log/LogView.h"

namespace dbcopy {

ProgressLog::ProgressLog(LogView& view, EventYield& yield) : m_view(view), m_yield(yield) {}

void ProgressLog::AddLog(std::string message) {
    message += "\r\n";
    m_view.append(message);
    m_view.moveCaretToEnd();
    m_yield.yieldNow();
}

}  // namespace dbcopy
