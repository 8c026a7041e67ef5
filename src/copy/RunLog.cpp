#include "copy/RunLog.h"

#include "log/ProgressLog.h"

namespace dbcopy {

void RunLog::AddLog(const std::string& message, LineKind kind) {
    m_log.AddLog(message);
    m_observer.lineWritten(message, kind);
}

}  // namespace dbcopy
