#include "report/ReportText.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace dbcopy {

namespace {

std::tm localTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);  // the same thread-safe call, its arguments the other way round
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

std::string formatTime(std::chrono::system_clock::time_point time, const char* format) {
    const std::tm local = localTime(time);
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

}  // namespace

std::string isoLocalTime(std::chrono::system_clock::time_point time) {
    const std::string text = formatTime(time, "%Y-%m-%dT%H:%M:%S%z");  // offset as +0100
    if (text.size() < 5) return text;
    const std::size_t minutes = text.size() - 2;
    return text.substr(0, minutes) + ":" + text.substr(minutes);
}

std::string clockTime(std::chrono::system_clock::time_point time) {
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() %
        1000;
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(milliseconds));
    return formatTime(time, "%H:%M:%S") + fraction;
}

std::string fileStamp(std::chrono::system_clock::time_point time) {
    return formatTime(time, "%Y-%m-%d_%H-%M-%S");
}

}  // namespace dbcopy
