#pragma once

#include <string>

namespace engine::sqlite {

// Prepares libsodium once per process. Throws engine::Error (IoError) when it cannot be used.
void initSodium();

// A salted, deliberately slow hash of password (libsodium's crypto_pwhash_str with the
// interactive limits). Throws engine::Error (IoError) when memory for it is missing.
std::string hashPassword(const std::string& password);

// True when password matches a hash made by hashPassword; false for a malformed hash and for
// one asking for more time or memory than libsodium's moderate limits (a hostile file).
bool verifyPassword(const std::string& hash, const std::string& password);

}  // namespace engine::sqlite
