#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "EngineTestFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace {

namespace codes = engine::codes;
using engine::Variant;
using enginetest::codeOf;
using I32 = std::int32_t;

class CursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto tables = enginetest::standardTables();
        tables.push_back({"Äpfel", "", {{"Sorte", engine::sqlite::FieldType::Text, 30}}, {}});
        testsupport::createVdb(m_path, tables);
        // Inserted out of ID order, with a tie on Name.
        testsupport::appendRows(m_path, "Kunden",
                                {{I32{3}, "Carl", true, Variant()},
                                 {I32{1}, "Anna", false, Variant()},
                                 {I32{4}, "Bernd", true, Variant()},
                                 {I32{2}, "Anna", true, Variant()}});
        m_database = enginetest::openDb(m_path);
        m_kunden = m_database->Tables()->Item(Variant("Kunden"));
    }

    // The IDs in cursor order, read through one Field object fetched before the walk.
    std::vector<I32> idsInCursorOrder() {
        std::vector<I32> ids;
        auto id = m_kunden->Fields()->Item(Variant("ID"));
        for (m_kunden->MoveFirst(32); !m_kunden->Eof(); m_kunden->Move(1, 32)) {
            ids.push_back(id->Value().int32());
        }
        return ids;
    }

    testsupport::TempDir m_dir;
    std::string m_path = m_dir.file("cursor.vdb");
    std::shared_ptr<engine::Database> m_database;
    std::shared_ptr<engine::Table> m_kunden;
};

TEST_F(CursorTest, WalksInsertionOrderWithoutIndexAndIndexOrderWithTiesByInsertion) {
    EXPECT_EQ(idsInCursorOrder(), (std::vector<I32>{3, 1, 4, 2}));
    m_kunden->Indexes()->Activate(Variant("nameidx"));
    EXPECT_EQ(idsInCursorOrder(), (std::vector<I32>{1, 2, 4, 3}));
    m_kunden->Indexes()->Activate(Variant(std::int16_t{0}));
    EXPECT_EQ(idsInCursorOrder(), (std::vector<I32>{1, 2, 3, 4}));
    m_kunden->Indexes()->Activate(Variant(I32{1}));
    EXPECT_EQ(idsInCursorOrder(), (std::vector<I32>{1, 2, 4, 3}));
}

TEST_F(CursorTest, OrderHoldsWhileIndexesArePending) {
    m_database->PrepareKeyStorage(false);
    m_kunden->Indexes()->Activate(Variant("NameIdx"));
    EXPECT_EQ(idsInCursorOrder(), (std::vector<I32>{1, 2, 4, 3}));
}

TEST_F(CursorTest, EmptyTableIsAtEofAtOnceAndHasNoCurrentRecord) {
    auto leer = m_database->Tables()->Item(Variant("Leer"));
    EXPECT_TRUE(leer->Eof());
    leer->MoveFirst(32);
    EXPECT_TRUE(leer->Eof());
    EXPECT_EQ(leer->RecordCount(), 0);
    EXPECT_EQ(codeOf([&] { leer->Fields()->ItemAt(0)->Value(); }), codes::NoCurrentRecord);
    EXPECT_EQ(codeOf([&] { leer->Move(1, 32); }), codes::NoCurrentRecord);
}

TEST_F(CursorTest, PastTheLastRecordValueAndMoveFail) {
    idsInCursorOrder();
    EXPECT_TRUE(m_kunden->Eof());
    EXPECT_EQ(codeOf([&] { m_kunden->Fields()->ItemAt(1)->Value(); }), codes::NoCurrentRecord);
    EXPECT_EQ(codeOf([&] { m_kunden->Move(1, 32); }), codes::NoCurrentRecord);
}

TEST_F(CursorTest, LookupsIgnoreCaseIncludingUmlauts) {
    auto tables = m_database->Tables();
    EXPECT_EQ(tables->Item(Variant("KUNDEN"))->Name(), "Kunden");
    EXPECT_EQ(tables->Item(Variant("äPFEL"))->Name(), "Äpfel");
    EXPECT_EQ(m_kunden->Fields()->Item(Variant("nAmE"))->Name(), "Name");
    EXPECT_EQ(codeOf([&] { m_kunden->Indexes()->Activate(Variant("NAMEIDX")); }), 0);
}

TEST_F(CursorTest, MissingNamesAndWrongKeyTypesGiveTheirCodes) {
    auto tables = m_database->Tables();
    EXPECT_EQ(codeOf([&] { tables->Item(Variant("Termine")); }), engine::codes::make(0x80041040));
    EXPECT_EQ(codeOf([&] { m_kunden->Fields()->Item(Variant("Ort")); }), codes::NoSuchField);
    EXPECT_EQ(codeOf([&] { m_kunden->Indexes()->Activate(Variant("PLZ")); }), codes::NoSuchIndex);
    EXPECT_EQ(codeOf([&] { m_kunden->Indexes()->Activate(Variant(std::int16_t{2})); }),
              codes::NoSuchIndex);
    EXPECT_EQ(codeOf([&] { m_kunden->Indexes()->Activate(Variant(I32{-1})); }), codes::NoSuchIndex);
    EXPECT_EQ(codeOf([&] { tables->Item(Variant(I32{0})); }), codes::TypeMismatch);
    EXPECT_EQ(codeOf([&] { m_kunden->Fields()->Item(Variant(true)); }), codes::TypeMismatch);
    EXPECT_EQ(codeOf([&] { m_kunden->Indexes()->Activate(Variant(true)); }), codes::TypeMismatch);
    EXPECT_EQ(codeOf([&] { m_kunden->AddNew(Variant("kein Puffer")); }), codes::TypeMismatch);
}

TEST_F(CursorTest, DisplayNamesFallBackToNames) {
    auto leer = m_database->Tables()->Item(Variant("Leer"));
    EXPECT_EQ(leer->DisplayName(0), "Leere Tabelle");
    EXPECT_EQ(m_kunden->DisplayName(0), "Kunden");
    EXPECT_EQ(m_kunden->Indexes()->ItemAt(0)->DisplayName(0), "ID");
    EXPECT_EQ(m_kunden->Indexes()->ItemAt(1)->DisplayName(0), "Nach Name");
    EXPECT_EQ(m_kunden->Indexes()->ItemAt(1)->Name(), "NameIdx");
    EXPECT_EQ(m_kunden->Indexes()->Count(), 2);
}

TEST_F(CursorTest, UpdateNeedsAddNewAndStoresOnlyTheLastRecordBegun) {
    auto fields = m_kunden->Fields();
    EXPECT_EQ(codeOf([&] { m_kunden->Update(32); }), codes::NoNewRecord);
    EXPECT_EQ(codeOf([&] { fields->ItemAt(0)->SetValue(I32{9}); }), codes::NoNewRecord);
    const Variant buffer = m_kunden->NewRecordBuffer(0);
    EXPECT_EQ(buffer, Variant(engine::VariantArray(4)));
    m_kunden->AddNew(buffer);
    fields->Item(Variant("Name"))->SetValue("Verworfen");
    m_kunden->AddNew(m_kunden->NewRecordBuffer(0));  // discards the record begun above
    fields->Item(Variant("ID"))->SetValue(I32{10});
    m_kunden->Update(32);
    EXPECT_EQ(codeOf([&] { m_kunden->Update(32); }), codes::NoNewRecord);
    EXPECT_EQ(m_kunden->RecordCount(), 5);
    m_database.reset();
    m_kunden.reset();
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[4], (testsupport::Row{I32{10}, Variant(), Variant(), Variant()}));
}

// A field set twice stores the later value; a value refused after it leaves that one in place.
TEST_F(CursorTest, FieldSetTwiceStoresTheLaterValueAndARefusedOneChangesNothing) {
    auto name = m_kunden->Fields()->Item(Variant("Name"));
    m_kunden->AddNew(m_kunden->NewRecordBuffer(0));
    name->SetValue("Erster");
    m_kunden->Fields()->Item(Variant("ID"))->SetValue(I32{10});
    name->SetValue("Zweiter");
    EXPECT_EQ(codeOf([&] { name->SetValue("viel zu lang für das Feld"); }), codes::ValueRefused);
    m_kunden->Update(32);
    m_database.reset();
    m_kunden.reset();
    const auto rows = testsupport::readRows(m_path, "Kunden");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[4], (testsupport::Row{I32{10}, Variant("Zweiter"), Variant(), Variant()}));
}

TEST_F(CursorTest, DuplicateKeyOnMaintainedUniqueIndexNamesItAndStoresNothing) {
    m_kunden->AddNew(m_kunden->NewRecordBuffer(0));
    m_kunden->Fields()->Item(Variant("ID"))->SetValue(I32{4});
    try {
        m_kunden->Update(32);
        FAIL() << "duplicate stored";
    } catch (const engine::Error& error) {
        EXPECT_EQ(error.code(), codes::DuplicateKey);
        EXPECT_NE(error.description().find("„ID“"), std::string::npos) << error.description();
    }
    EXPECT_EQ(m_kunden->RecordCount(), 4);
    m_kunden->Fields()->Item(Variant("ID"))->SetValue(I32{5});  // the record is still begun
    m_kunden->Update(32);
    EXPECT_EQ(m_kunden->RecordCount(), 5);
}

TEST_F(CursorTest, DeleteAllRecordsEmptiesTheTableAndItsCount) {
    EXPECT_EQ(m_kunden->RecordCount(), 4);
    m_kunden->DeleteAllRecords();
    EXPECT_EQ(m_kunden->RecordCount(), 0);
    m_kunden->MoveFirst(32);
    EXPECT_TRUE(m_kunden->Eof());
    m_database.reset();
    m_kunden.reset();
    EXPECT_TRUE(testsupport::readRows(m_path, "Kunden").empty());
}

}  // namespace

// Some megabytes: a read-only open reads the file ahead while the cursor walks it, through a
// handle of its own that is closed with the database (on Windows an open one keeps the file
// from being removed).
TEST(CursorReadOnly, WalkOverSeveralMegabytesReadsEveryRecordAndLeavesTheFileFree) {
    testsupport::TempDir dir;
    const std::string path = dir.file("large.vdb");
    testsupport::createVdb(path, {{"Notizen",
                                   "",
                                   {{"ID", engine::sqlite::FieldType::Int32},
                                    {"Text", engine::sqlite::FieldType::Text, 200}},
                                   {}}});
    std::vector<testsupport::Row> rows;
    for (I32 id = 0; id < 40000; ++id) {
        rows.push_back({id, "Größe " + std::to_string(id) + std::string(150, "abcdefgh"[id % 8])});
    }
    testsupport::appendRows(path, "Notizen", rows);
    EXPECT_EQ(testsupport::readRows(path, "Notizen"), rows);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(path, error)) << error.message();
}
