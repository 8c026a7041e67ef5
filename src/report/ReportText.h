#pragma once

#include <chrono>
#include <string>

#include "copy/RunObserver.h"

namespace dbcopy {

// "0x" + the code as eight upper-case hexadecimal digits (negative codes in two's complement).
std::string hexCode(std::int32_t code);

// "Fehler 0x80041003: " + the description.
std::string errorText(const RunError& error);

// The local time in ISO 8601 with seconds and the offset: "2026-12-08T17:45:01+01:00".
std::string isoLocalTime(std::chrono::system_clock::time_point time);

// The local time of day with milliseconds: "17:45:01.123".
std::string clockTime(std::chrono::system_clock::time_point time);

// The local date and time as a file name stem: "2026-12-08_17-45-01".
std::string fileStamp(std::chrono::system_clock::time_point time);

}  // namespace dbcopy
