#include "copy/ErrorReport.h"

#include <exception>
#include <new>
#include <utility>

#include "copy/RunErrorCodes.h"
#include "copy/RunLog.h"
#include "copy/RunObserver.h"
#include "engine/Error.h"

namespace dbcopy {

ErrorReport::ErrorReport(std::int32_t code, std::string description)
    : m_code(code), m_description(std::move(description)) {}

ErrorReport ErrorReport::fromCurrentException() {
    try {
        throw;
    } catch (const engine::Error& error) {
        return {error.code(), error.description()};
    } catch (const std::bad_alloc&) {
        return {codes::OutOfMemory, "Nicht genügend Speicher"};
    } catch (const std::exception& error) {
        const std::string what = error.what();
        return {codes::InternalError,
                what.empty() ? "Interner Fehler" : "Interner Fehler: " + what};
    } catch (...) {
        return {codes::InternalError, "Interner Fehler"};
    }
}

std::string ErrorReport::codeLine() const {
    return engine::errorLabel(m_code);
}

std::string ErrorReport::descriptionLine() const {
    return "Err.Description: " + m_description;
}

void ErrorReport::writeTo(RunLog& log) const {
    log.AddLog(codeLine(), LineKind::ErrorReport);
    log.AddLog(descriptionLine(), LineKind::ErrorReport);
}

RunError ErrorReport::toRunError() const {
    return {m_code, m_description};
}

}  // namespace dbcopy
