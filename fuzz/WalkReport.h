#pragma once

#include <cstdint>
#include <vector>

namespace vdbfuzz {

// What a walk over one database file met: how far it got and which engine errors it caught.
struct WalkReport {
    std::int32_t openError = 0;        // the code OpenDatabase raised; 0 when the file opened
    int tables = 0;                    // tables walked to their end
    int records = 0;                   // records read, over every table and every order
    int indexes = 0;                   // indexes activated and walked
    std::vector<std::int32_t> errors;  // codes of the engine errors caught after the open

    bool opened() const { return openError == 0; }
};

}  // namespace vdbfuzz
