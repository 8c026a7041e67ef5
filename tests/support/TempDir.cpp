#include "TempDir.h"

#include <random>
#include <system_error>

namespace testsupport {

TempDir::TempDir() {
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    do {
        m_path = base / ("veltrona-test-" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(m_path));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

}  // namespace testsupport
