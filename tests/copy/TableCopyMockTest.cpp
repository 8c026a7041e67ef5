#include "copy/TableCopy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CountingYield.h"
#include "MemoryLogView.h"
#include "MockEngine.h"
#include "copy/RunLog.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "log/ProgressLog.h"

namespace {

using testing::_;
using testing::Return;
using namespace testsupport;

// A source table "Kunden" with fields and records whose values name field and record
// ("Name#0"), a target table with its own fields, and one journal of the calls whose order
// matters. Target fields record what is set in them, and the target keeps each record that
// Update stores ("Name=Name#0" per field set).
class MockTablePair {
public:
    MockTablePair(const std::vector<std::string>& sourceFields,
                  const std::vector<std::string>& destFields, std::int32_t records)
        : m_records(records) {
        ON_CALL(*source, DisplayName).WillByDefault([this](std::int32_t) {
            journal.push_back("DisplayName");
            return std::string("Kunden");
        });
        ON_CALL(*source, RecordCount).WillByDefault([this] {
            journal.push_back("RecordCount");
            return m_records;
        });
        ON_CALL(*source, MoveFirst).WillByDefault([this](std::int32_t) { m_position = 0; });
        ON_CALL(*source, Eof).WillByDefault([this] { return m_position >= m_records; });
        ON_CALL(*source, Move).WillByDefault([this](std::int32_t, std::int32_t) {
            journal.push_back("Move");
            ++m_position;
        });
        ON_CALL(*source, Fields).WillByDefault(Return(sourceFieldList));
        ON_CALL(*source, Indexes).WillByDefault(Return(sourceIndexes));
        for (const std::string& name : sourceFields) addSourceField(name);

        ON_CALL(*dest, Fields).WillByDefault([this] {
            journal.push_back("Fields");
            return destFieldList;
        });
        ON_CALL(*dest, NewRecordBuffer).WillByDefault([this](std::int32_t) {
            journal.push_back("NewRecordBuffer");
            return engine::Variant(engine::VariantArray{engine::Variant()});
        });
        ON_CALL(*dest, AddNew).WillByDefault([this](const engine::Variant& buffer) {
            EXPECT_EQ(buffer.type(), engine::Variant::Type::Array);
            journal.push_back("AddNew");
            m_newRecord.clear();
        });
        ON_CALL(*dest, Update).WillByDefault([this](std::int32_t flags) {
            EXPECT_EQ(flags, 32);
            journal.push_back("Update");
            stored.push_back(m_newRecord);
        });
        for (const std::string& name : destFields) addDestField(name);
        ON_CALL(*destFieldList, Item).WillByDefault([this](const engine::Variant& key) {
            journal.push_back("Item " + key.text());
            for (const auto& field : m_destFields) {
                if (field->Name() == key.text()) return std::shared_ptr<engine::Field>(field);
            }
            throw engine::Error(engine::codes::NoSuchField, "Feld nicht gefunden");
        });
    }

    void copy(dbcopy::ProgressLog& log, dbcopy::RecordYield& yield) {
        dbcopy::RunObserver noOne;
        dbcopy::RunLog runLog(log, noOne);
        const std::atomic<bool> neverCancelled{false};
        dbcopy::TableCopy(runLog, yield, neverCancelled).CopyTable(source, dest);
    }

    MockField& sourceField(std::size_t position) { return *m_sourceFields.at(position); }

    std::shared_ptr<MockTable> source = makeMock<MockTable>();
    std::shared_ptr<MockTable> dest = makeMock<MockTable>();
    std::shared_ptr<MockFields> sourceFieldList = makeMock<MockFields>();
    std::shared_ptr<MockFields> destFieldList = makeMock<MockFields>();
    std::shared_ptr<MockIndexes> sourceIndexes = makeMock<MockIndexes>();
    std::vector<std::string> journal;
    std::vector<std::vector<std::string>> stored;

private:
    void addSourceField(const std::string& name) {
        auto field = makeMock<MockField>();
        ON_CALL(*field, Name).WillByDefault(Return(name));
        ON_CALL(*field, Value).WillByDefault([this, name] {
            journal.push_back("Value " + name);
            return engine::Variant(name + "#" + std::to_string(m_position));
        });
        m_sourceFields.push_back(field);
        ON_CALL(*sourceFieldList, Count)
            .WillByDefault(Return(static_cast<std::int32_t>(m_sourceFields.size())));
        ON_CALL(*sourceFieldList, ItemAt).WillByDefault([this](std::int32_t position) {
            return std::shared_ptr<engine::Field>(
                m_sourceFields.at(static_cast<std::size_t>(position)));
        });
    }

    void addDestField(const std::string& name) {
        auto field = makeMock<MockField>();
        ON_CALL(*field, Name).WillByDefault(Return(name));
        ON_CALL(*field, SetValue).WillByDefault([this, name](const engine::Variant& value) {
            journal.push_back("Set " + name + "=" + value.text());
            m_newRecord.push_back(name + "=" + value.text());
        });
        m_destFields.push_back(field);
    }

    std::int32_t m_records;
    std::int32_t m_position = 0;
    std::vector<std::string> m_newRecord;
    std::vector<std::shared_ptr<MockField>> m_sourceFields;
    std::vector<std::shared_ptr<MockField>> m_destFields;
};

class TableCopyWithMockEngine : public testing::Test {
protected:
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log{view, yield};
};

TEST_F(TableCopyWithMockEngine, EachRecordMakesExactlyTheListedCallsInOrder) {
    MockTablePair pair({"ID", "Name"}, {"Name", "ID"}, 1);
    yield.onYieldPerRecord = [&] { pair.journal.push_back("yield"); };
    pair.copy(log, yield);

    // The journal after the start line's DisplayName and the two lookups of the matching.
    const std::vector<std::string> expected = {
        "DisplayName",     "Fields", "Item ID",   "Fields",     "Item Name",
        "NewRecordBuffer", "AddNew", "Fields",    "Item ID",    "Value ID",
        "Set ID=ID#0",     "Fields", "Item Name", "Value Name", "Set Name=Name#0",
        "Update",          "yield",  "Move",      "DisplayName"};
    EXPECT_EQ(pair.journal, expected);
}

TEST_F(TableCopyWithMockEngine, EveryRecordIsStoredOnceWithTheSharedFieldsInSourceOrder) {
    MockTablePair pair({"ID", "Alt", "Name"}, {"ID", "Name"}, 2500);
    pair.copy(log, yield);

    ASSERT_EQ(pair.stored.size(), 2500u);
    for (std::size_t record = 0; record < pair.stored.size(); ++record) {
        const std::string number = std::to_string(record);
        ASSERT_EQ(pair.stored[record],
                  (std::vector<std::string>{"ID=ID#" + number, "Name=Name#" + number}))
            << "record " << record;
    }
    EXPECT_EQ(yield.perRecord, 2500);
    EXPECT_EQ(
        view.lines(),
        (std::vector<std::string>{
            "Exportvorgang für Tabelle Kunden beginnt.",
            "Das Feld Alt ist in der Ziel-DB nicht vorhanden. Das Feld wird übersprungen.",
            "Kunden: 1000/2500", "Kunden: 2000/2500", "Kunden: 2500 Datensätze exportiert."}));
}

TEST_F(TableCopyWithMockEngine, ProgressLineReadsDisplayNameBeforeRecordCountAndShowsItAsGiven) {
    MockTablePair pair({"ID"}, {"ID"}, 1000);
    ON_CALL(*pair.source, RecordCount).WillByDefault([&] {
        pair.journal.push_back("RecordCount");
        return -5;
    });
    pair.copy(log, yield);
    const auto count = std::find(pair.journal.begin(), pair.journal.end(), "RecordCount");
    ASSERT_NE(count, pair.journal.end());
    EXPECT_EQ(*(count - 1), "DisplayName");
    EXPECT_EQ(view.lines().at(1), "Kunden: 1000/-5");
}

TEST_F(TableCopyWithMockEngine, FailingStartLineGivesOnlyTheErrorReport) {
    MockTablePair pair({"ID"}, {"ID"}, 3);
    ON_CALL(*pair.source, DisplayName)
        .WillByDefault(testing::Throw(engine::Error(engine::codes::IoError, "Lesefehler")));
    EXPECT_CALL(*pair.source, Fields).Times(0);
    EXPECT_CALL(*pair.source, MoveFirst).Times(0);
    EXPECT_CALL(*pair.dest, AddNew).Times(0);
    pair.copy(log, yield);
    EXPECT_EQ(view.lines(),
              (std::vector<std::string>{"Fehler 0x80041020", "Err.Description: Lesefehler"}));
}

TEST_F(TableCopyWithMockEngine, ErrorWhileWritingTheReportReachesTheCaller) {
    MockTablePair pair({"ID"}, {"ID"}, 3);
    ON_CALL(*pair.source, DisplayName)
        .WillByDefault(testing::Throw(engine::Error(engine::codes::IoError, "Lesefehler")));
    view.failOnceAt("Fehler 0x");
    EXPECT_THROW(pair.copy(log, yield), std::runtime_error);
}

TEST_F(TableCopyWithMockEngine, UnreadableSourceFieldsStillCopyEveryRecordWithoutValues) {
    MockTablePair pair({"ID"}, {"ID"}, 3);
    ON_CALL(*pair.source, Fields)
        .WillByDefault(testing::Throw(engine::Error(engine::codes::IoError, "Lesefehler")));
    pair.copy(log, yield);
    EXPECT_EQ(std::count(pair.journal.begin(), pair.journal.end(), "Update"), 3);
    EXPECT_EQ(std::count(pair.journal.begin(), pair.journal.end(), "Value ID"), 0);
    EXPECT_EQ(view.lines(), (std::vector<std::string>{"Exportvorgang für Tabelle Kunden beginnt.",
                                                      "Kunden: 3 Datensätze exportiert."}));
}

TEST_F(TableCopyWithMockEngine, FieldWithUnreadableNameIsSkippedSilentlyAndTheOthersCopied) {
    MockTablePair pair({"ID", "Name"}, {"ID", "Name"}, 2);
    ON_CALL(pair.sourceField(0), Name)
        .WillByDefault(testing::Throw(engine::Error(engine::codes::IoError, "Lesefehler")));
    pair.copy(log, yield);
    EXPECT_EQ(std::count(pair.journal.begin(), pair.journal.end(), "Value ID"), 0);
    EXPECT_EQ(std::count(pair.journal.begin(), pair.journal.end(), "Set Name=Name#1"), 1);
    EXPECT_EQ(view.lines(), (std::vector<std::string>{"Exportvorgang für Tabelle Kunden beginnt.",
                                                      "Kunden: 2 Datensätze exportiert."}));
}

TEST_F(TableCopyWithMockEngine, LookupGivingNoObjectCountsAsMissingField) {
    MockTablePair pair({"ID", "Name"}, {"ID", "Name"}, 1);
    ON_CALL(*pair.destFieldList, Item(engine::Variant("ID"))).WillByDefault(Return(nullptr));
    pair.copy(log, yield);
    EXPECT_EQ(view.lines(),
              (std::vector<std::string>{
                  "Exportvorgang für Tabelle Kunden beginnt.",
                  "Das Feld ID ist in der Ziel-DB nicht vorhanden. Das Feld wird übersprungen.",
                  "Kunden: 1 Datensätze exportiert."}));
}

TEST_F(TableCopyWithMockEngine, RefusedValueEndsTheTableAfterTheStoredRecords) {
    MockTablePair pair({"ID"}, {"ID"}, 5);
    int updates = 0;
    ON_CALL(*pair.dest, Update).WillByDefault([&](std::int32_t) {
        if (++updates == 3) throw engine::Error(engine::codes::ValueRefused, "Wert zu groß");
    });
    EXPECT_CALL(*pair.source, Move).Times(2);
    pair.copy(log, yield);
    EXPECT_EQ(yield.perRecord, 2);
    EXPECT_EQ(view.lines(),
              (std::vector<std::string>{"Exportvorgang für Tabelle Kunden beginnt.",
                                        "Fehler 0x80041010", "Err.Description: Wert zu groß"}));
}

// How ActivateIndex meets each failure of the index collection.
struct ActivateCase {
    const char* name;
    bool idFails;          // Activate("ID") throws
    bool indexesFailOnce;  // the first Indexes() call throws
    bool countFails;
    std::int32_t count;
    bool zeroFails;  // Activate(0) throws
    int expectedIndexesCalls;
    bool expectZeroActivation;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ActivateCase& c, std::ostream* os) {
    *os << c.name;
}

class ActivateIndexFallback : public testing::TestWithParam<ActivateCase> {};

TEST_P(ActivateIndexFallback, TriesIdThenPositionZeroAndNeverThrows) {
    const ActivateCase& c = GetParam();
    auto table = makeMock<MockTable>();
    auto indexes = makeMock<MockIndexes>();
    const engine::Error failure(engine::codes::NoSuchIndex, "Index nicht gefunden");
    int indexesCalls = 0;
    ON_CALL(*table, Indexes).WillByDefault([&]() -> std::shared_ptr<engine::Indexes> {
        if (++indexesCalls == 1 && c.indexesFailOnce) throw failure;
        return indexes;
    });
    std::vector<engine::Variant> keys;
    ON_CALL(*indexes, Activate).WillByDefault([&](const engine::Variant& key) {
        keys.push_back(key);
        if (key.type() == engine::Variant::Type::Text ? c.idFails : c.zeroFails) throw failure;
    });
    ON_CALL(*indexes, Count).WillByDefault([&] {
        if (c.countFails) throw failure;
        return c.count;
    });

    EXPECT_NO_THROW(dbcopy::TableCopy::ActivateIndex(table));

    EXPECT_EQ(indexesCalls, c.expectedIndexesCalls);
    std::vector<engine::Variant> expectedKeys;
    if (!c.indexesFailOnce) expectedKeys.emplace_back("ID");
    if (c.expectZeroActivation) expectedKeys.emplace_back(std::int16_t{0});
    EXPECT_EQ(keys, expectedKeys);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ActivateIndexFallback,
    testing::Values(ActivateCase{"IdFound", false, false, false, 2, false, 1, false},
                    ActivateCase{"NoIdButIndexes", true, false, false, 2, false, 3, true},
                    ActivateCase{"NoIndexCollection", false, true, false, 1, false, 3, true},
                    ActivateCase{"NoIndexes", true, false, false, 0, false, 2, false},
                    ActivateCase{"CountFails", true, false, true, 0, false, 2, false},
                    ActivateCase{"ZeroFails", true, false, false, 1, true, 3, true}),
    [](const testing::TestParamInfo<ActivateCase>& info) { return std::string(info.param.name); });

TEST_F(TableCopyWithMockEngine, FailedFallbackLetsTheCopyGoOnInTableOrder) {
    MockTablePair pair({"ID"}, {"ID"}, 2);
    ON_CALL(*pair.sourceIndexes, Activate)
        .WillByDefault(testing::Throw(engine::Error(engine::codes::NoSuchIndex, "kein Index")));
    ON_CALL(*pair.sourceIndexes, Count).WillByDefault(Return(1));
    EXPECT_CALL(*pair.sourceIndexes, Activate).Times(2);
    pair.copy(log, yield);
    EXPECT_EQ(view.lines().back(), "Kunden: 2 Datensätze exportiert.");
}

}  // namespace
