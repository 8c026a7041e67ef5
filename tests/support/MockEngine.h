#pragma once

#include <gmock/gmock.h>

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

// GoogleMock doubles of the engine objects, for failures a real file cannot produce on demand.
// Each double's Die() is called from its destructor, so tests can check when it is released.
namespace testsupport {

class MockDbServer : public engine::DbServer {
public:
    ~MockDbServer() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::shared_ptr<engine::Database>, OpenDatabase,
                (const std::string&, const std::string&, const std::string&, std::int32_t),
                (override));
};

class MockDatabase : public engine::Database {
public:
    ~MockDatabase() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::shared_ptr<engine::Tables>, Tables, (), (override));
    MOCK_METHOD(engine::ObjectRef, CreateDatabase,
                (const std::string&, const engine::Variant&, const engine::Variant&,
                 const engine::Variant&),
                (override));
    MOCK_METHOD(void, KeyStorageAccess, (bool), (override));
    MOCK_METHOD(void, PrepareKeyStorage, (bool), (override));
};

class MockTables : public engine::Tables {
public:
    ~MockTables() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::int32_t, Count, (), (override));
    MOCK_METHOD(std::shared_ptr<engine::Table>, ItemAt, (std::int32_t), (override));
    MOCK_METHOD(std::shared_ptr<engine::Table>, Item, (const engine::Variant&), (override));
};

class MockTable : public engine::Table {
public:
    ~MockTable() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::string, Name, (), (override));
    MOCK_METHOD(std::string, DisplayName, (std::int32_t), (override));
    MOCK_METHOD(std::shared_ptr<engine::Fields>, Fields, (), (override));
    MOCK_METHOD(std::shared_ptr<engine::Indexes>, Indexes, (), (override));
    MOCK_METHOD(std::int32_t, RecordCount, (), (override));
    MOCK_METHOD(bool, Eof, (), (override));
    MOCK_METHOD(void, MoveFirst, (std::int32_t), (override));
    MOCK_METHOD(void, Move, (std::int32_t, std::int32_t), (override));
    MOCK_METHOD(engine::Variant, NewRecordBuffer, (std::int32_t), (override));
    MOCK_METHOD(void, AddNew, (const engine::Variant&), (override));
    MOCK_METHOD(void, Update, (std::int32_t), (override));
    MOCK_METHOD(void, DeleteAllRecords, (), (override));
};

class MockFields : public engine::Fields {
public:
    ~MockFields() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::int32_t, Count, (), (override));
    MOCK_METHOD(std::shared_ptr<engine::Field>, ItemAt, (std::int32_t), (override));
    MOCK_METHOD(std::shared_ptr<engine::Field>, Item, (const engine::Variant&), (override));
};

class MockField : public engine::Field {
public:
    ~MockField() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::string, Name, (), (override));
    MOCK_METHOD(engine::Variant, Value, (), (override));
    MOCK_METHOD(void, SetValue, (const engine::Variant&), (override));
};

class MockIndexes : public engine::Indexes {
public:
    ~MockIndexes() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::int32_t, Count, (), (override));
    MOCK_METHOD(std::shared_ptr<engine::Index>, ItemAt, (std::int32_t), (override));
    MOCK_METHOD(void, Activate, (const engine::Variant&), (override));
};

class MockIndex : public engine::Index {
public:
    ~MockIndex() override { Die(); }
    MOCK_METHOD(void, Die, ());
    MOCK_METHOD(std::string, Name, (), (override));
    MOCK_METHOD(std::string, DisplayName, (std::int32_t), (override));
    MOCK_METHOD(void, Rebuild, (), (override));
};

// A nice mock held by a shared_ptr, as the engine hands its objects out.
template <typename Mock>
std::shared_ptr<testing::NiceMock<Mock>> makeMock() {
    return std::make_shared<testing::NiceMock<Mock>>();
}

}  // namespace testsupport
