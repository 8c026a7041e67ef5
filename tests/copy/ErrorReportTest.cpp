#include "copy/ErrorReport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>

#include "CountingYield.h"
#include "MemoryLogView.h"
#include "copy/RecordCounter.h"
#include "copy/RunLog.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "log/ProgressLog.h"

namespace {

struct CodeCase {
    std::int32_t code;
    const char* line;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.line;
}

class ErrorReportCodeLine : public testing::TestWithParam<CodeCase> {};

TEST_P(ErrorReportCodeLine, EightUpperCaseHexDigits) {
    EXPECT_EQ(dbcopy::ErrorReport(GetParam().code, "").codeLine(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Codes, ErrorReportCodeLine,
                         testing::Values(CodeCase{engine::codes::NoSuchTable, "Fehler 0x80041040"},
                                         CodeCase{91, "Fehler 0x0000005B"},
                                         CodeCase{6, "Fehler 0x00000006"},
                                         CodeCase{0, "Fehler 0x00000000"},
                                         CodeCase{-1, "Fehler 0xFFFFFFFF"},
                                         CodeCase{0x7FFFFFFF, "Fehler 0x7FFFFFFF"},
                                         CodeCase{0xABCDEF, "Fehler 0x00ABCDEF"}));

TEST(ErrorReport, WritesCodeLineThenDescriptionLineUnchanged) {
    testsupport::MemoryLogView view;
    testsupport::CountingYield yield;
    dbcopy::ProgressLog pane(view, yield);
    dbcopy::RunObserver noOne;
    dbcopy::RunLog log(pane, noOne);
    dbcopy::ErrorReport(0x5B, "Objekt fehlt: Ä ").writeTo(log);
    dbcopy::ErrorReport(1, "").writeTo(log);
    EXPECT_EQ(view.text(),
              "Fehler 0x0000005B\r\nErr.Description: Objekt fehlt: Ä \r\n"
              "Fehler 0x00000001\r\nErr.Description: \r\n");
}

template <typename Exception>
dbcopy::ErrorReport reportOf(const Exception& exception) {
    try {
        throw exception;
    } catch (...) {
        return dbcopy::ErrorReport::fromCurrentException();
    }
}

TEST(ErrorReport, TakesCodeAndDescriptionOfEachKindOfException) {
    const auto engineError =
        reportOf(engine::Error(engine::codes::AccessDenied, "Zugriff verweigert"));
    EXPECT_EQ(engineError.code(), engine::codes::AccessDenied);
    EXPECT_EQ(engineError.description(), "Zugriff verweigert");

    const auto memory = reportOf(std::bad_alloc());
    EXPECT_EQ(memory.code(), 7);
    EXPECT_EQ(memory.description(), "Nicht genügend Speicher");

    const auto other = reportOf(std::runtime_error("kaputt"));
    EXPECT_EQ(other.code(), 51);
    EXPECT_EQ(other.description(), "Interner Fehler: kaputt");

    const auto unknown = reportOf(42);
    EXPECT_EQ(unknown.code(), 51);
    EXPECT_EQ(unknown.description(), "Interner Fehler");
}

TEST(RecordCounter, CountsUpToTheLargestInt32ThenRaisesOverflow) {
    dbcopy::RecordCounter counter(std::numeric_limits<std::int32_t>::max() - 1);
    counter.increment();
    EXPECT_EQ(counter.value(), std::numeric_limits<std::int32_t>::max());
    try {
        counter.increment();
        FAIL() << "no overflow";
    } catch (const engine::Error& error) {
        EXPECT_EQ(error.code(), 6);
        EXPECT_EQ(error.description(), "Überlauf");
    }
    EXPECT_EQ(counter.value(), std::numeric_limits<std::int32_t>::max());
}

TEST(RecordCounter, StartsAtZeroAndCountsByOne) {
    dbcopy::RecordCounter counter;
    EXPECT_EQ(counter.value(), 0);
    counter.increment();
    counter.increment();
    EXPECT_EQ(counter.value(), 2);
}

}  // namespace
