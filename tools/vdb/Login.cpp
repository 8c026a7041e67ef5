#include "vdb/Login.h"

#include <cstdlib>

#include "engine/DbServer.h"
#include "engine/sqlite/SqliteEngine.h"

namespace vdb {

std::string resolvePassword(const std::optional<std::string>& option, const Console& console,
                            const char* variable) {
    if (option) return *option;
    if (const char* fromEnvironment = std::getenv(variable)) return fromEnvironment;
    if (console.askPassword) return console.askPassword();
    return {};
}

std::shared_ptr<engine::Database> openDatabase(const std::string& file, const Login& login,
                                               std::int32_t flags) {
    return engine::sqlite::createServer()->OpenDatabase(file, login.user, login.password, flags);
}

}  // namespace vdb
