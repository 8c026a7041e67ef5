#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/Database.h"
#include "vdb/Console.h"

namespace vdb {

// The user name and password a command opens its database with.
struct Login {
    std::string user;
    std::string password;
};

// The environment variable that may hold the password, so that it never has to appear on a
// command line that other users of the machine can read.
inline constexpr const char* kPasswordVariable = "VDB_PASSWORD";

// The environment variable that may hold the password of a target's own user.
inline constexpr const char* kTargetPasswordVariable = "VDB_TARGET_PASSWORD";

// The password from, in this order: the command line option, the environment variable
// (variable, by default kPasswordVariable), the console's prompt; an empty password when none
// of them gives one.
std::string resolvePassword(const std::optional<std::string>& option, const Console& console,
                            const char* variable = kPasswordVariable);

// Opens file through a new engine server. Throws engine::Error as OpenDatabase does.
std::shared_ptr<engine::Database> openDatabase(const std::string& file, const Login& login,
                                               std::int32_t flags);

}  // namespace vdb
