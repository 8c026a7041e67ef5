#include "copy/RunLog.h"

#include <utility>

#include "log/ProgressLog.h"

namespace dbcopy {

void RunLog::AddLog(std::string message, LineKind kind) {
    std::string written = message;
    m_log.AddLog(std::move(message));
    m_observer.lineWritten(written, kind);
}

}  // namespace dbcopy
