#pragma once

#include <cstdint>
#include <string>

namespace dbcopy {

class RunLog;
struct RunError;

// An unexpected error as the log shows it: a signed 32-bit code and a description.
class ErrorReport {
public:
    ErrorReport(std::int32_t code, std::string description);

    // The exception being handled; call only inside a catch block. engine::Error keeps its code
    // and description; std::bad_alloc becomes codes::OutOfMemory "Nicht genügend Speicher";
    // any other exception codes::InternalError "Interner Fehler" (with what() when it has one).
    static ErrorReport fromCurrentException();

    std::int32_t code() const noexcept { return m_code; }
    const std::string& description() const noexcept { return m_description; }

    // "Fehler 0x" + the code as eight upper-case hex digits (negative codes in two's complement).
    std::string codeLine() const;

    // "Err.Description: " + the description, unchanged.
    std::string descriptionLine() const;

    // Writes the code line, then the description line. Failures of the log pass to the caller.
    void writeTo(RunLog& log) const;

    // The code and description as the run's observers receive them.
    RunError toRunError() const;

private:
    std::int32_t m_code;
    std::string m_description;
};

}  // namespace dbcopy
