#include "copy/RunEvents.h"

namespace dbcopy {

void RunEvents::runStarted(const std::string& source, const std::string& target) {
    for (RunObserver* observer : m_observers) observer->runStarted(source, target);
}

void RunEvents::sourceOpened(std::int64_t records) {
    for (RunObserver* observer : m_observers) observer->sourceOpened(records);
}

void RunEvents::lineWritten(const std::string& line, LineKind kind) {
    for (RunObserver* observer : m_observers) observer->lineWritten(line, kind);
}

void RunEvents::targetCreated() {
    for (RunObserver* observer : m_observers) observer->targetCreated();
}

void RunEvents::targetEmptied() {
    for (RunObserver* observer : m_observers) observer->targetEmptied();
}

void RunEvents::tableStarted(const TableStart& table) {
    for (RunObserver* observer : m_observers) observer->tableStarted(table);
}

void RunEvents::fieldSkipped(const std::string& field) {
    for (RunObserver* observer : m_observers) observer->fieldSkipped(field);
}

void RunEvents::progress(std::int32_t copied) {
    for (RunObserver* observer : m_observers) observer->progress(copied);
}

void RunEvents::tableFinished(std::int32_t copied) {
    for (RunObserver* observer : m_observers) observer->tableFinished(copied);
}

void RunEvents::tableInterrupted(std::int32_t copied) {
    for (RunObserver* observer : m_observers) observer->tableInterrupted(copied);
}

void RunEvents::tableFailed(const RunError& error) {
    for (RunObserver* observer : m_observers) observer->tableFailed(error);
}

void RunEvents::tableChecked(const TableCheck& check) {
    for (RunObserver* observer : m_observers) observer->tableChecked(check);
}

void RunEvents::tableSkipped(const std::string& name) {
    for (RunObserver* observer : m_observers) observer->tableSkipped(name);
}

void RunEvents::tableNotReached(const std::string& name, const std::string& display) {
    for (RunObserver* observer : m_observers) observer->tableNotReached(name, display);
}

void RunEvents::rebuildStarted() {
    for (RunObserver* observer : m_observers) observer->rebuildStarted();
}

void RunEvents::indexRebuilt(const IndexName& index) {
    for (RunObserver* observer : m_observers) observer->indexRebuilt(index);
}

void RunEvents::indexFailed(const IndexName& index, const RunError& error) {
    for (RunObserver* observer : m_observers) observer->indexFailed(index, error);
}

void RunEvents::runFinished() {
    for (RunObserver* observer : m_observers) observer->runFinished();
}

void RunEvents::runFailed(const RunError& error) {
    for (RunObserver* observer : m_observers) observer->runFailed(error);
}

void RunEvents::runCancelled() {
    for (RunObserver* observer : m_observers) observer->runCancelled();
}

}  // namespace dbcopy
