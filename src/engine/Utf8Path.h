#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace engine {

// Every path inside the program is UTF-8 text; the system's own path type (UTF-16 on Windows)
// is met only through these functions, so a name such as "Größe 1.vdb" survives on every system.

// The file-system path that the UTF-8 text names.
std::filesystem::path pathFromUtf8(std::string_view text);

// The path as UTF-8 text.
std::string utf8Of(const std::filesystem::path& path);

// std::fopen for a UTF-8 path: the open file, or nullptr with errno set.
std::FILE* openFile(const std::string& path, const char* mode);

}  // namespace engine
