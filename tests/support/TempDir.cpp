#include "TempDir.h"

#include <random>
#include <system_error>

#include "engine/Utf8Path.h"

namespace testsupport {

TempDir::TempDir() {
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("veltrona-test-" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(m_path));
}

std::string TempDir::file(const std::string& name) const {
    return engine::utf8Of(m_path / engine::pathFromUtf8(name));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace testsupport
