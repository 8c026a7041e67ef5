#include "log/ProgressLog.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CountingYield.h"
#include "MemoryLogView.h"

namespace {

using testsupport::CountingYield;
using testsupport::MemoryLogView;

struct LogCase {
    const char* name;
    std::vector<std::string> messages;
    std::string expectedText;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LogCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgressLogText : public testing::TestWithParam<LogCase> {};

TEST_P(ProgressLogText, AppendsEachMessageWithCrLf) {
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log(view, yield);
    for (const std::string& message : GetParam().messages) log.AddLog(message);
    EXPECT_EQ(view.text(), GetParam().expectedText);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProgressLogText,
    testing::Values(
        LogCase{"FirstLineHasNoLeadingBreak", {"Öffne Zieldatenbank."}, "Öffne Zieldatenbank.\r\n"},
        LogCase{"EmptyMessageAddsOnlyCrLf", {"a", ""}, "a\r\n\r\n"},
        LogCase{"LinesInCallOrder", {"eins", "zwei", "drei"}, "eins\r\nzwei\r\ndrei\r\n"},
        LogCase{"OwnCrLfKeptAndTrailingOneAdded", {"a\r\nb"}, "a\r\nb\r\n"},
        LogCase{"BlanksNotTrimmed", {"  x  "}, "  x  \r\n"}),
    [](const testing::TestParamInfo<LogCase>& info) { return std::string(info.param.name); });

TEST(ProgressLog, MessageWithOwnCrLfShowsOneLinePerSegment) {
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log(view, yield);
    log.AddLog("Fehler\r\nDetails");
    EXPECT_EQ(view.lines(), (std::vector<std::string>{"Fehler", "Details"}));
}

TEST(ProgressLog, CaretStandsAtTheEndWithEmptySelectionAfterEachCall) {
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log(view, yield);
    for (const std::string message : {"erste Zeile", "", "dritte Zeile"}) {
        view.select(0, 3);  // a user selection made during the last yield
        log.AddLog(message);
        EXPECT_EQ(view.selectionStart(), view.text().size()) << message;
        EXPECT_EQ(view.selectionLength(), 0u) << message;
    }
}

TEST(ProgressLog, YieldsExactlyOnceAfterTheLineIsShown) {
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log(view, yield);
    std::vector<std::string> textAtYield;
    yield.onYieldNow = [&] {
        textAtYield.push_back(view.text());
        EXPECT_EQ(view.selectionStart(), view.text().size());
    };
    log.AddLog("a");
    log.AddLog("b");
    EXPECT_EQ(yield.now, 2);
    EXPECT_EQ(yield.perRecord, 0);
    EXPECT_EQ(textAtYield, (std::vector<std::string>{"a\r\n", "a\r\nb\r\n"}));
}

TEST(ProgressLog, FailureOfTheViewReachesTheCallerWithoutYield) {
    MemoryLogView view;
    CountingYield yield;
    dbcopy::ProgressLog log(view, yield);
    log.AddLog("a");
    view.failAtAppend(1);
    EXPECT_THROW(log.AddLog("b"), std::runtime_error);
    EXPECT_EQ(view.text(), "a\r\n");
    EXPECT_EQ(yield.now, 1);
}

}  // namespace
