#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Database;

// Flag bits of OpenDatabase.
namespace open_flags {
constexpr std::int32_t ReadOnly = 0x20;  // open write-protected; the file stays byte-identical
// The flags the copy opens its target with; the other bits are accepted and have no effect.
constexpr std::int32_t Target = 0x30010;
// The flags the copy opens its source with: the target's plus write protection.
constexpr std::int32_t Source = Target | ReadOnly;
}  // namespace open_flags

// The engine's entry object; every database is opened through it.
class DbServer : public Object {
public:
    // Opens the database file at path as user. Throws engine::Error: FileNotFound,
    // NotADatabase, AccessDenied (wrong user or password alike), FileLocked.
    virtual std::shared_ptr<Database> OpenDatabase(const std::string& path, const std::string& user,
                                                   const std::string& password,
                                                   std::int32_t flags) = 0;
};

}  // namespace engine
