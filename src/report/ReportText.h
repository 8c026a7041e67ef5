#pragma once

#include <chrono>
#include <string>

namespace dbcopy {

// The local time in ISO 8601 with seconds and the offset: "2026-12-08T17:45:01+01:00".
std::string isoLocalTime(std::chrono::system_clock::time_point time);

// The local time of day with milliseconds: "17:45:01.123".
std::string clockTime(std::chrono::system_clock::time_point time);

// The local date and time as a file name stem: "2026-12-08_17-45-01".
std::string fileStamp(std::chrono::system_clock::time_point time);

}  // namespace dbcopy
