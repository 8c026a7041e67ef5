#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "FileImportTest.h"

namespace copytest {
namespace {

using engine::sqlite::FieldType;
using engine::sqlite::TableSpec;
using testsupport::appendRows;
using testsupport::createVdb;
using testsupport::readRows;
using testsupport::Row;

struct ProgressCase {
    int records;
    std::vector<std::string> tableLines;  // the lines after the start line
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ProgressCase& c, std::ostream* os) {
    *os << c.records << " Datensätze";
}

class ProgressLines : public FileImportTest, public testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressLines, AfterEveryThousandthRecord) {
    createVdb(source, {kundenTable()});
    appendRows(source, "Kunden", kundenRows(GetParam().records));
    createVdb(target, {kundenTable()});
    runImport();

    const auto written = lines();
    const auto start =
        std::find(written.begin(), written.end(), "Exportvorgang für Tabelle Kunden beginnt.");
    ASSERT_NE(start, written.end());
    const std::vector<std::string> tableLines(start + 1, start + 1 + GetParam().tableLines.size());
    EXPECT_EQ(tableLines, GetParam().tableLines);
    EXPECT_EQ(*(start + 1 + GetParam().tableLines.size()), "Indizes werden aufgebaut");
    EXPECT_EQ(readRows(target, "Kunden").size(), static_cast<std::size_t>(GetParam().records));
    EXPECT_EQ(yield.perRecord, GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Counts, ProgressLines,
                         testing::Values(ProgressCase{0, {"Kunden: 0 Datensätze exportiert."}},
                                         ProgressCase{999, {"Kunden: 999 Datensätze exportiert."}},
                                         ProgressCase{1000,
                                                      {"Kunden: 1000/1000",
                                                       "Kunden: 1000 Datensätze exportiert."}},
                                         ProgressCase{2500,
                                                      {"Kunden: 1000/2500", "Kunden: 2000/2500",
                                                       "Kunden: 2500 Datensätze exportiert."}}));

TEST_F(FileImportTest, FieldMissingInTargetIsReportedOnceAndTheOthersAreCopied) {
    createVdb(source,
              {{"Kunden",
                "Kundenstamm",
                {{"ID", FieldType::Int32}, {"Fax", FieldType::Text}, {"Name", FieldType::Text}},
                {}}});
    appendRows(source, "Kunden",
               {{engine::Variant(1), engine::Variant("0301"), engine::Variant("Ada")},
                {engine::Variant(2), engine::Variant("0302"), engine::Variant("Bea")}});
    createVdb(target,
              {{"Kunden",
                "",
                {{"Name", FieldType::Text}, {"Ort", FieldType::Text}, {"ID", FieldType::Int32}},
                {}}});
    runImport();

    EXPECT_EQ(
        lines(),
        joined({kOpeningLines,
                {"Exportvorgang für Tabelle Kundenstamm beginnt.",
                 "Das Feld Fax ist in der Ziel-DB nicht vorhanden. Das Feld wird übersprungen.",
                 "Kundenstamm: 2 Datensätze exportiert.", "Indizes werden aufgebaut"},
                kClosingLines}));
    EXPECT_EQ(readRows(target, "Kunden"),
              (std::vector<Row>{{engine::Variant("Ada"), engine::Variant(), engine::Variant(1)},
                                {engine::Variant("Bea"), engine::Variant(), engine::Variant(2)}}));
}

TEST_F(FileImportTest, NoCommonFieldStillAddsOneEmptyRecordPerSourceRecord) {
    createVdb(source, {{"Kunden", "", {{"A", FieldType::Int32}}, {}}});
    appendRows(source, "Kunden", {{engine::Variant(1)}, {engine::Variant(2)}});
    createVdb(target, {{"Kunden", "", {{"B", FieldType::Int32}}, {}}});
    runImport();
    EXPECT_EQ(lines().at(5),
              "Das Feld A ist in der Ziel-DB nicht vorhanden. Das Feld wird übersprungen.");
    EXPECT_EQ(lines().at(6), "Kunden: 2 Datensätze exportiert.");
    EXPECT_EQ(readRows(target, "Kunden"),
              (std::vector<Row>{{engine::Variant()}, {engine::Variant()}}));
}

TEST_F(FileImportTest, SourceIsWalkedInTheOrderOfItsIdIndex) {
    createVdb(source, {kundenTable()});
    appendRows(source, "Kunden", kundenRows(2, 5));
    appendRows(source, "Kunden", kundenRows(2, 1));
    createVdb(target, {kundenTable()});
    runImport();
    auto expected = kundenRows(2, 1);
    for (const Row& row : kundenRows(2, 5)) expected.push_back(row);
    EXPECT_EQ(readRows(target, "Kunden"), expected);
}

// A value the target refuses at record 3 ends that table's copy after two stored records; the
// run goes on with the next table. Posten has no index, so records go in insertion order.
struct RefusalCase {
    const char* name;
    engine::sqlite::TableSpec targetPosten;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedValue : public FileImportTest, public testing::WithParamInterface<RefusalCase> {};

TableSpec postenTable(FieldType numberType, std::int32_t textSize) {
    return {"Posten", "", {{"Nr", numberType}, {"Text", FieldType::Text, textSize}}, {}};
}

TEST_P(RefusedValue, KeepsEarlierRecordsAndCopiesTheNextTable) {
    createVdb(source, {postenTable(FieldType::Int32, 40), termineTable()});
    const std::vector<Row> posten = {
        {engine::Variant(1), engine::Variant("kurz")},
        {engine::Variant(2), engine::Variant("kurz")},
        {engine::Variant(70000), engine::Variant("ein viel zu langer Text")},
        {engine::Variant(4), engine::Variant("kurz")}};
    appendRows(source, "Posten", posten);
    appendRows(source, "Termine", {{engine::Variant("2024-01-02"), engine::Variant(1)}});
    createVdb(target, {GetParam().targetPosten, termineTable()});
    runImport();

    const auto written = lines();
    ASSERT_EQ(written.size(), 13u);
    EXPECT_EQ(written[4], "Exportvorgang für Tabelle Posten beginnt.");
    EXPECT_EQ(written[5], "Fehler 0x80041010");
    EXPECT_EQ(written[6].rfind("Err.Description: ", 0), 0u);
    EXPECT_EQ(written[7], "Exportvorgang für Tabelle Termine beginnt.");
    EXPECT_EQ(written[8], "Termine: 1 Datensätze exportiert.");
    EXPECT_EQ(written.back(), "Import erfolgreich abgeschlossen.");
    const auto stored = readRows(target, "Posten");
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1][1], engine::Variant("kurz"));
    EXPECT_EQ(readRows(target, "Termine").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RefusedValue,
    testing::Values(RefusalCase{"TextTooLong", postenTable(FieldType::Int32, 10)},
                    RefusalCase{"Int32IntoInt16", postenTable(FieldType::Int16, 40)}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace copytest
