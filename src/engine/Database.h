#pragma once

#include <memory>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Tables;

// An open database file. Releasing the last reference closes it.
class Database : public Object {
public:
    virtual std::shared_ptr<engine::Tables> Tables() = 0;

    // Writes a new database at path with this database's tables, fields, indexes and users
    // and no records. Refuses an existing file (FileExists) and leaves no half-written file.
    // The returned object needs no further use.
    virtual ObjectRef CreateDatabase(const std::string& path, const Variant& version,
                                     const Variant& options, const Variant& reserved) = 0;

    // Bulk-load mode on a database opened for writing: see the implementation for its meaning.
    virtual void KeyStorageAccess(bool enable) = 0;
    virtual void PrepareKeyStorage(bool keepIndexes) = 0;
};

}  // namespace engine
