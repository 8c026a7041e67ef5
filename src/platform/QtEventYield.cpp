#include "platform/QtEventYield.h"

#include <QCoreApplication>

#include <utility>

namespace dbcopy {

QtEventYield::QtEventYield(Clock now) : m_now(std::move(now)) {}

void QtEventYield::yieldNow() {
    QCoreApplication::processEvents();
    m_lastProcessed = m_now();
}

void QtEventYield::yieldPerRecord() {
    if (m_now() - m_lastProcessed >= kRecordInterval) yieldNow();
}

}  // namespace dbcopy
