#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "TempDir.h"
#include "TestDatabase.h"
#include "VdbRun.h"

namespace {

using engine::Variant;
using vdbtest::runVdb;

// Every kind of value the Kunden table holds, in the form the dump writes: texts with commas,
// quotes, CR LF and LF, umlauts; the limits of both integer sizes; empty text and no value.
const std::string kCanonical =
    "ID,Name,Aktiv,Stufe\r\n"
    "1,\"Müller, Jürgen\",true,1\r\n"
    "-2147483648,\"Sagt \"\"Hallo\"\"\",false,-32768\r\n"
    "2147483647,\"Zeile1\r\nZeile2\nZ3\",true,32767\r\n"
    "4,\"\",,\r\n"
    "5,,false,0\r\n"
    "6,\"Größe Straße\",true,-1\r\n";

class ImportDump : public testing::Test {
protected:
    void SetUp() override { vdbtest::createKunden(m_dir, m_vdb); }

    vdbtest::RunResult import(const std::string& csv) {
        const std::string csvFile = m_dir.file("input.csv");
        vdbtest::writeFile(csvFile, csv);
        return runVdb({"import", m_vdb, "Kunden", csvFile, "-p", "geheim"});
    }

    std::string dump() {
        const auto result = runVdb({"dump", m_vdb, "Kunden", "-p", "geheim"});
        EXPECT_EQ(result.code, 0) << result.err;
        return result.out;
    }

    testsupport::TempDir m_dir;
    std::string m_vdb = m_dir.file("kunden.vdb");
};

TEST_F(ImportDump, RoundTripsEveryKindOfValueExactly) {
    const auto imported = import(kCanonical);
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.out, "6 Datensätze in Tabelle „Kunden“ importiert.\n");
    EXPECT_EQ(dump(), kCanonical);
}

TEST_F(ImportDump, StoresTypedValuesEmptyValueAndEmptyTextApart) {
    ASSERT_EQ(import(kCanonical).code, 0);
    const auto rows = testsupport::readRows(m_vdb, "Kunden");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1],
              (testsupport::Row{Variant(std::int32_t{-2147483647 - 1}), Variant("Sagt \"Hallo\""),
                                Variant(false), Variant(std::int16_t{-32768})}));
    EXPECT_EQ(rows[2][0], Variant(std::int32_t{2147483647}));
    EXPECT_EQ(rows[2][1], Variant("Zeile1\r\nZeile2\nZ3"));
    EXPECT_EQ(rows[3], (testsupport::Row{Variant(4), Variant(""), Variant(), Variant()}));
    EXPECT_EQ(rows[4][1], Variant());
}

TEST_F(ImportDump, AcceptsLfByteOrderMarkAndHeaderInAnyCaseAndOrder) {
    const auto imported = import("\xEF\xBB\xBFstufe,NAME,id\n3,x,7\n-4,\"y\",8");
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(dump(), "ID,Name,Aktiv,Stufe\r\n7,\"x\",,3\r\n8,\"y\",,-4\r\n");
}

TEST_F(ImportDump, AppendsToTheRecordsAlreadyThere) {
    ASSERT_EQ(import("ID,Name\n1,\"a\"\n").code, 0);
    ASSERT_EQ(import("ID,Name\n2,\"b\"\n").code, 0);
    EXPECT_EQ(dump(), "ID,Name,Aktiv,Stufe\r\n1,\"a\",,\r\n2,\"b\",,\r\n");
}

struct Refusal {
    const char* name;
    std::string csv;
    std::string message;  // a part of the error message
};

// Names the case in test output.
void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class ImportRefuses : public ImportDump, public testing::WithParamInterface<Refusal> {};

TEST_P(ImportRefuses, NamesTheLineAndStoresNothingOfTheFile) {
    ASSERT_EQ(import("ID,Name\n1,\"vorher\"\n2,\"auch vorher\"\n").code, 0);
    const std::string before = dump();

    const auto refused = import(GetParam().csv);

    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(GetParam().message), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(dump(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportRefuses,
    testing::Values(
        Refusal{"Int16TooLarge", "ID,Name,Aktiv,Stufe\n10,\"a\",true,1\n11,\"b\",true,32768\n",
                "Zeile 3, Feld „Stufe“: Fehler 0x80041010: "},
        Refusal{"Int32BelowMinimum", "ID,Name\n10,\"a\"\n-2147483649,\"b\"\n",
                "Zeile 3, Feld „ID“: Fehler 0x80041010: "},
        Refusal{"NotANumber", "ID,Stufe\n10,1\n11,2\n12,zwei\n",
                "Zeile 4, Feld „Stufe“: Fehler 0x80041010"},
        Refusal{"EmptyTextInNumber", "ID,Stufe\n10,\"\"\n", "Zeile 2, Feld „Stufe“"},
        Refusal{"NotABoolean", "ID,Aktiv\n10,ja\n", "Zeile 2, Feld „Aktiv“: Fehler 0x80041010"},
        Refusal{"TextTooLong", "ID,Name\n10,\"123456789012345678901\"\n",
                "Zeile 2, Feld „Name“: Fehler 0x80041010"},
        Refusal{"LineCountedAcrossMultiLineText",
                "ID,Name\n10,\"a\r\nb\"\n11,\"c\nd\ne\"\nx,\"f\"\n", "Zeile 7, Feld „ID“"},
        Refusal{"DuplicateKeyWithRecordAlreadyThere", "ID,Name\n10,\"a\"\n1,\"b\"\n",
                "Zeile 3: Fehler 0x80041013: "},
        Refusal{"DuplicateKeyWithinTheFile", "ID\n10\n11\n10\n", "Zeile 4: Fehler 0x80041013"},
        Refusal{"UnknownColumn", "ID,Vorname\n10,\"a\"\n",
                "Zeile 1: die Tabelle „Kunden“ hat kein Feld „Vorname“."},
        Refusal{"EmptyColumnName", "ID,,Name\n", "Zeile 1: die Tabelle „Kunden“ hat kein Feld „“"},
        Refusal{"DoubledColumn", "ID,Name,id\n", "Zeile 1: das Feld „ID“ steht zweimal"},
        Refusal{"TooFewCells", "ID,Name\n10,\"a\"\n11\n", "Zeile 3: 1 Zellen statt 2."},
        Refusal{"TooManyCells", "ID,Name\n10,\"a\",\n", "Zeile 2: 3 Zellen statt 2."},
        Refusal{"MalformedCsv", "ID,Name\n10,\"a\"\n11,b\"c\n", "Zeile 3: fehlerhaftes CSV"},
        Refusal{"InvalidUtf8", "ID,Name\n10,\"M\xFC\"\n", "Zeile 2: kein gültiges UTF-8"},
        Refusal{"NoHeader", "", "hat keine Kopfzeile"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportDump, UnreadableCsvFileIsAFailureNotAUsageError) {
    const auto result =
        runVdb({"import", m_vdb, "Kunden", m_dir.file("fehlt.csv"), "-p", "geheim"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("ist nicht lesbar"), std::string::npos) << result.err;
}

TEST_F(ImportDump, DumpOfAnEmptyTableIsTheHeaderAlone) {
    EXPECT_EQ(dump(), "ID,Name,Aktiv,Stufe\r\n");
}

TEST(ImportDumpOneField, BlankLineRoundTripsAsEmptyValue) {
    testsupport::TempDir dir;
    const std::string vdb = dir.file("eins.vdb");
    testsupport::createVdb(vdb, {{"Notizen", "", {{"Text"}}, {}}});
    testsupport::appendRows(vdb, "Notizen", {{Variant("a")}, {Variant()}, {Variant("")}});
    const auto dumped = runVdb({"dump", vdb, "Notizen", "-p", testsupport::kPassword});
    ASSERT_EQ(dumped.out, "Text\r\n\"a\"\r\n\r\n\"\"\r\n");

    const std::string copy = dir.file("kopie.vdb");
    testsupport::createVdb(copy, {{"Notizen", "", {{"Text"}}, {}}});
    vdbtest::writeFile(dir.file("notizen.csv"), dumped.out);
    ASSERT_EQ(runVdb({"import", copy, "Notizen", dir.file("notizen.csv"), "-p", "geheim"}).code, 0);
    EXPECT_EQ(testsupport::readRows(copy, "Notizen"), testsupport::readRows(vdb, "Notizen"));
}

}  // namespace
