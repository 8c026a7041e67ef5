#include "vdb/CsvReader.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "vdb/CommandError.h"

namespace {

using vdb::CsvReader;
using Cells = std::vector<std::optional<std::string>>;

struct Read {
    std::vector<std::int64_t> lines;
    std::vector<Cells> records;
};

Read readAll(const std::string& text) {
    Read result;
    CsvReader::read(text, [&](std::int64_t line, const CsvReader::Record& record) {
        result.lines.push_back(line);
        result.records.push_back(record);
    });
    return result;
}

struct CellCase {
    const char* name;
    std::string text;
    std::vector<Cells> records;
    std::vector<std::int64_t> lines;
};

// Names the case in test output.
void PrintTo(const CellCase& c, std::ostream* out) {
    *out << c.name;
}

class CsvCells : public testing::TestWithParam<CellCase> {};

TEST_P(CsvCells, ReadsRecordsAndLines) {
    const Read read = readAll(GetParam().text);
    EXPECT_EQ(read.records, GetParam().records);
    EXPECT_EQ(read.lines, GetParam().lines);
}

const std::nullopt_t none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvCells,
    testing::Values(CellCase{"CrLf", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
                    CellCase{"LfAndNoFinalLineEnd", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
                    CellCase{"EmptyValueAndEmptyText",
                             "a,b,c\n,\"\",\n",
                             {{"a", "b", "c"}, {none, "", none}},
                             {1, 2}},
                    CellCase{"QuotedSpecials",
                             "a,b\n\"x, \"\"y\"\"\",\"1\r\n2\n3\"\n\"z\",4\n",
                             {{"a", "b"}, {"x, \"y\"", "1\r\n2\n3"}, {"z", "4"}},
                             {1, 2, 5}},
                    CellCase{
                        "SpacesKept", "a,b\n  x ,\" y \"\n", {{"a", "b"}, {"  x ", " y "}}, {1, 2}},
                    CellCase{"ByteOrderMarkStripped",
                             "\xEF\xBB\xBF"
                             "Name\n\"M\xC3\xBCller\"\n",
                             {{"Name"}, {"Müller"}},
                             {1, 2}},
                    CellCase{"BlankLinesSkippedForSeveralColumns",
                             "\na,b\n\n1,2\r\n\r\n3,4\n",
                             {{"a", "b"}, {"1", "2"}, {"3", "4"}},
                             {2, 4, 6}},
                    CellCase{"BlankLineIsEmptyValueForOneColumn",
                             "a\r\n\r\n\"\"\r\n\r\n",
                             {{"a"}, {none}, {""}, {none}},
                             {1, 2, 3, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    std::string text;
    std::string message;
    std::size_t recordsBefore;  // records handed over before the failure
};

// Names the case in test output.
void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class CsvMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(CsvMalformed, ThrowsNamingTheLine) {
    std::size_t records = 0;
    try {
        CsvReader::read(GetParam().text, [&](std::int64_t, const auto&) { ++records; });
        FAIL() << "no error";
    } catch (const vdb::CommandError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(records, GetParam().recordsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvMalformed,
    testing::Values(MalformedCase{"QuoteInsideUnquotedCell", "a,b\n1,2\n3,x\"y\n",
                                  "Zeile 3: fehlerhaftes CSV", 2},
                    MalformedCase{"TextAfterClosingQuote", "a\n\"x\"y\n", "Zeile 2:", 1},
                    MalformedCase{"UnterminatedQuoteAtEnd", "a,b\n1,\"open\nstill open",
                                  "Zeile 2: fehlerhaftes CSV (Anführungszeichen nicht", 1},
                    MalformedCase{"InvalidUtf8", "a\n\"ok\"\n\"M\xFCller\"\n",
                                  "Zeile 3: kein gültiges UTF-8", 0},
                    MalformedCase{"TruncatedUtf8", "a\n\"\xC3\"\n", "Zeile 2: kein gültiges UTF-8",
                                  0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
