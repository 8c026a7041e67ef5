#include "copy/RunLog.h"

#include <utility>

#include "copy/RunObserver.h"
#include "log/ProgressLog.h"

namespace dbcopy {

void RunLog::AddLog(std::string message) {
    std::string written = message;
    m_log.AddLog(std::move(message));
    m_observer.lineWritten(written);
}

}  // namespace dbcopy
