#include "MisstoringServer.h"

#include <utility>

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace testsupport {

namespace {

// The text to miss and what is stored instead.
struct Fault {
    std::string wrong;
    std::string stored;
};

class FaultyField : public engine::Field {
public:
    FaultyField(std::shared_ptr<engine::Field> real, const Fault& fault)
        : m_real(std::move(real)), m_fault(fault) {}
    std::string Name() override { return m_real->Name(); }
    engine::Variant Value() override { return m_real->Value(); }
    void SetValue(const engine::Variant& value) override {
        const bool hit =
            value.type() == engine::Variant::Type::Text && value.text() == m_fault.wrong;
        m_real->SetValue(hit ? engine::Variant(m_fault.stored) : value);
    }

private:
    std::shared_ptr<engine::Field> m_real;
    const Fault& m_fault;
};

class FaultyFields : public engine::Fields {
public:
    FaultyFields(std::shared_ptr<engine::Fields> real, const Fault& fault)
        : m_real(std::move(real)), m_fault(fault) {}
    std::int32_t Count() override { return m_real->Count(); }
    std::shared_ptr<engine::Field> ItemAt(std::int32_t position) override {
        return std::make_shared<FaultyField>(m_real->ItemAt(position), m_fault);
    }
    std::shared_ptr<engine::Field> Item(const engine::Variant& key) override {
        return std::make_shared<FaultyField>(m_real->Item(key), m_fault);
    }

private:
    std::shared_ptr<engine::Fields> m_real;
    const Fault& m_fault;
};

class FaultyTable : public engine::Table {
public:
    FaultyTable(std::shared_ptr<engine::Table> real, const Fault& fault)
        : m_real(std::move(real)),
          m_fields(std::make_shared<FaultyFields>(m_real->Fields(), fault)) {}
    std::string Name() override { return m_real->Name(); }
    std::string DisplayName(std::int32_t reserved) override {
        return m_real->DisplayName(reserved);
    }
    std::shared_ptr<engine::Fields> Fields() override { return m_fields; }
    std::shared_ptr<engine::Indexes> Indexes() override { return m_real->Indexes(); }
    std::int32_t RecordCount() override { return m_real->RecordCount(); }
    bool Eof() override { return m_real->Eof(); }
    void MoveFirst(std::int32_t flags) override { m_real->MoveFirst(flags); }
    void Move(std::int32_t rows, std::int32_t flags) override { m_real->Move(rows, flags); }
    engine::Variant NewRecordBuffer(std::int32_t reserved) override {
        return m_real->NewRecordBuffer(reserved);
    }
    void AddNew(const engine::Variant& buffer) override { m_real->AddNew(buffer); }
    void Update(std::int32_t flags) override { m_real->Update(flags); }
    void DeleteAllRecords() override { m_real->DeleteAllRecords(); }

private:
    std::shared_ptr<engine::Table> m_real;
    std::shared_ptr<FaultyFields> m_fields;
};

class FaultyTables : public engine::Tables {
public:
    FaultyTables(std::shared_ptr<engine::Tables> real, const Fault& fault)
        : m_real(std::move(real)), m_fault(fault) {}
    std::int32_t Count() override { return m_real->Count(); }
    std::shared_ptr<engine::Table> ItemAt(std::int32_t position) override {
        return std::make_shared<FaultyTable>(m_real->ItemAt(position), m_fault);
    }
    std::shared_ptr<engine::Table> Item(const engine::Variant& key) override {
        return std::make_shared<FaultyTable>(m_real->Item(key), m_fault);
    }

private:
    std::shared_ptr<engine::Tables> m_real;
    const Fault& m_fault;
};

class FaultyDatabase : public engine::Database {
public:
    FaultyDatabase(std::shared_ptr<engine::Database> real, const Fault& fault)
        : m_real(std::move(real)), m_fault(fault) {}
    std::shared_ptr<engine::Tables> Tables() override {
        return std::make_shared<FaultyTables>(m_real->Tables(), m_fault);
    }
    engine::ObjectRef CreateDatabase(const std::string& path, const engine::Variant& version,
                                     const engine::Variant& options,
                                     const engine::Variant& users) override {
        return m_real->CreateDatabase(path, version, options, users);
    }
    void KeyStorageAccess(bool enable) override { m_real->KeyStorageAccess(enable); }
    void PrepareKeyStorage(bool keepIndexes) override { m_real->PrepareKeyStorage(keepIndexes); }

private:
    std::shared_ptr<engine::Database> m_real;
    const Fault& m_fault;
};

class FaultyServer : public engine::DbServer {
public:
    explicit FaultyServer(Fault fault) : m_fault(std::move(fault)) {}
    std::shared_ptr<engine::Database> OpenDatabase(const std::string& path, const std::string& user,
                                                   const std::string& password,
                                                   std::int32_t flags) override {
        return std::make_shared<FaultyDatabase>(m_real->OpenDatabase(path, user, password, flags),
                                                m_fault);
    }

private:
    std::shared_ptr<engine::DbServer> m_real = engine::sqlite::createServer();
    const Fault m_fault;
};

}  // namespace

std::shared_ptr<engine::DbServer> misstoringServer(std::string wrong, std::string stored) {
    return std::make_shared<FaultyServer>(Fault{std::move(wrong), std::move(stored)});
}

}  // namespace testsupport
