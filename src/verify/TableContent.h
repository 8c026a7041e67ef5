#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dbcopy {

// The first record of a table whose values differ between source and target.
struct ContentDifference {
    std::int64_t position = 0;  // 1-based, in the order the copy reads the source
    std::string id;             // the source's field "ID" as shown; empty without one
    std::string field;          // the source field's name
    std::string sourceValue;    // as shown, at most 60 characters
    std::string targetValue;    // as shown, at most 60 characters
};

// What the value-by-value comparison found for one source table.
struct TableContent {
    enum class Result {
        Equal,      // every compared value equal, the target holds every source record
        Different,  // records whose values differ
        Missing,    // the target holds fewer records than the source
        Skipped,    // the target has no table of that name
    };

    std::string name;         // the source table's name
    std::string displayName;  // as the copy's lines show it
    Result result = Result::Equal;
    std::int64_t compared = 0;   // source records compared
    std::int64_t differing = 0;  // compared records with at least one differing value
    std::int64_t missing = 0;    // source records more than the target holds
    std::optional<ContentDifference> first;
    std::vector<std::string> sourceOnlyFields;  // not compared, in source order
    std::vector<std::string> targetOnlyFields;  // not compared, in target order
};

}  // namespace dbcopy
