#pragma once

#include <array>
#include <set>
#include <string>

namespace engine::sqlite {

// Remembers, for the life of one server, which password matched which stored hash, so that
// opening the same file again (a run opens the target twice, and a target made from the
// source carries the source's hashes) does not repeat the deliberately slow hashing. Only a
// keyed digest under a random key of this server is kept, never the password.
class VerifiedLogins {
public:
    VerifiedLogins();

    // True when password matches the stored hash; a match is remembered.
    bool verify(const std::string& storedHash, const std::string& password);

private:
    using Digest = std::array<unsigned char, 32>;
    Digest digest(const std::string& storedHash, const std::string& password) const;

    std::array<unsigned char, 32> m_key;
    std::set<Digest> m_matches;
};

}  // namespace engine::sqlite
