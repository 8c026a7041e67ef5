#include "engine/Utf8Path.h"

namespace engine {

std::filesystem::path pathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::filesystem::path wide = pathFromUtf8(path);
    const std::string narrowMode(mode);
    return ::_wfopen(wide.c_str(), std::wstring(narrowMode.begin(), narrowMode.end()).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace engine
