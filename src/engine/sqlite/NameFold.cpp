#include "engine/sqlite/NameFold.h"

namespace engine::sqlite {

namespace {

constexpr unsigned char kLatin1Lead = 0xC3;      // lead byte of U+00C0 .. U+00FF
constexpr unsigned char kUpperFirst = 0x80;      // À
constexpr unsigned char kUpperLast = 0x9E;       // Þ
constexpr unsigned char kMultiplication = 0x97;  // × has no lower-case form
constexpr unsigned char kCaseDistance = 0x20;

}  // namespace

std::string foldName(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte + kCaseDistance);
        } else if (byte == kLatin1Lead && i + 1 < folded.size()) {
            auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= kUpperFirst && next <= kUpperLast && next != kMultiplication) {
                folded[i + 1] = static_cast<char>(next + kCaseDistance);
            }
            ++i;
        }
    }
    return folded;
}

}  // namespace engine::sqlite
