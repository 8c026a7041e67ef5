#include "engine/sqlite/PasswordHash.h"

#include <sodium.h>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

namespace {

void initSodium() {
    static const int status = sodium_init();
    if (status < 0) throw Error(codes::IoError, messages::ioError("libsodium nicht verfügbar"));
}

}  // namespace

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
    if (hash.size() >= crypto_pwhash_STRBYTES) return false;
    char terminated[crypto_pwhash_STRBYTES] = {};  // libsodium reads a full-size buffer
    hash.copy(terminated, hash.size());
    return crypto_pwhash_str_verify(terminated, password.data(), password.size()) == 0;
}

}  // namespace engine::sqlite
