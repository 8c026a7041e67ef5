#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine::sqlite {

// Finds a position by name: an exact match first (no allocation), then a case-insensitive
// one (see foldName). When two names fold alike, the first one added wins.
class NameIndex {
public:
    void add(std::string_view name, int position);
    std::optional<int> find(std::string_view name) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    using Map = std::unordered_map<std::string, int, Hash, std::equal_to<>>;
    Map m_exact;
    Map m_folded;
};

}  // namespace engine::sqlite
