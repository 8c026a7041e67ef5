#include "engine/sqlite/VerifiedLogins.h"

#include <sodium.h>

#include "engine/sqlite/PasswordHash.h"

namespace engine::sqlite {

VerifiedLogins::VerifiedLogins() {
    initSodium();
    randombytes_buf(m_key.data(), m_key.size());
}

VerifiedLogins::Digest VerifiedLogins::digest(const std::string& storedHash,
                                              const std::string& password) const {
    crypto_generichash_state state;
    crypto_generichash_init(&state, m_key.data(), m_key.size(), sizeof(Digest));
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(storedHash.data()),
                              storedHash.size() + 1);  // with its NUL, to separate the two
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(password.data()),
                              password.size());
    Digest result;
    crypto_generichash_final(&state, result.data(), result.size());
    return result;
}

bool VerifiedLogins::verify(const std::string& storedHash, const std::string& password) {
    const Digest key = digest(storedHash, password);
    if (m_matches.contains(key)) return true;
    if (!verifyPassword(storedHash, password)) return false;
    m_matches.insert(key);
    return true;
}

}  // namespace engine::sqlite
