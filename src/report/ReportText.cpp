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

std::string hexCode(std::int32_t code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "0x%08X", static_cast<std::uint32_t>(code));
    return digits;
}

std::string errorText(const RunError& error) {
    return "Fehler " + hexCode(error.code) + ": " + error.description;
}

std::string isoLocalTime(std::chrono::system_clock::time_point time) {
    std::string text = formatTime(time, "%Y-%m-%dT%H:%M:%S%z");  // offset as +0100
    if (text.size() >= 5) text.insert(text.size() - 2, ":");
    return text;
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
