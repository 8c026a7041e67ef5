#include "engine/sqlite/PasswordHash.h"

#include <sodium.h>

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

namespace {

// The highest costs a stored hash may ask for. Our hashes use the interactive costs; a file
// that asks for more could make an open run for hours or exhaust the memory before the
// password is even compared.
constexpr std::uint64_t kMaxPasses = crypto_pwhash_OPSLIMIT_MODERATE;
constexpr std::uint64_t kMaxMemoryKiB = crypto_pwhash_MEMLIMIT_MODERATE / 1024;

// The number after prefix at the start of text; moves text past both. nullopt without them.
std::optional<std::uint64_t> takeNumber(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return std::nullopt;
    text.remove_prefix(prefix.size());
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return number;
}

// True when the costs a hash names ("$argon2id$v=19$m=<KiB>,t=<passes>,p=<lanes>$...", read
// as libsodium reads them) stay within our bounds; false for a hash without them.
bool affordable(std::string_view hash) {
    const std::size_t at = hash.find("$m=");
    if (at == std::string_view::npos) return false;
    hash.remove_prefix(at);
    const auto memory = takeNumber(hash, "$m=");
    const auto passes = takeNumber(hash, ",t=");
    const auto lanes = takeNumber(hash, ",p=");
    return memory && passes && lanes && *memory <= kMaxMemoryKiB && *passes <= kMaxPasses &&
           *lanes == 1 && hash.starts_with('$');
}

}  // namespace

void initSodium() {
    static const int status = sodium_init();
    if (status < 0) throw Error(codes::IoError, messages::ioError("libsodium nicht verfügbar"));
}

std::string hashPassword(const std::string& password) {
    initSodium();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        throw Error(codes::IoError, messages::ioError("zu wenig Speicher für das Kennwort"));
    }
    return hash;
}

bool verifyPassword(const std::string& hash, const std::string& password) {
    initSodium();
    if (hash.size() >= crypto_pwhash_STRBYTES || !affordable(hash)) return false;
    char terminated[crypto_pwhash_STRBYTES] = {};  // libsodium reads a full-size buffer
    hash.copy(terminated, hash.size());
    return crypto_pwhash_str_verify(terminated, password.data(), password.size()) == 0;
}

}  // namespace engine::sqlite
