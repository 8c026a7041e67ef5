#pragma once

#include <string>
#include <utility>
#include <vector>

#include "copy/RunObserver.h"

namespace testsupport {

// Keeps each log line that a run writes as a fault, with its kind, in order.
class FaultLineRecorder : public dbcopy::RunObserver {
public:
    using Line = std::pair<std::string, dbcopy::LineKind>;

    void lineWritten(const std::string& line, dbcopy::LineKind kind) override {
        if (kind != dbcopy::LineKind::Plain) lines.emplace_back(line, kind);
    }

    std::vector<Line> lines;
};

}  // namespace testsupport
