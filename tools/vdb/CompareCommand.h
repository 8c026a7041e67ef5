#pragma once

#include <ostream>
#include <string>

#include "vdb/Login.h"

namespace vdb {

// What `vdb compare` compares, and how the copy it predicts would run.
struct CompareRequest {
    std::string source;
    std::string target;
    Login sourceLogin;
    Login targetLogin;
    bool deleteTarget = false;  // the copy would empty every target table first
    bool data = false;          // also compare the values of a copy already made (--data)
};

// `vdb compare SOURCE TARGET`: predicts what a copy of source into target would do, without
// changing either file (both are opened read-only). Writes to out one German line per finding:
// per source table, in the copy's order, the target table it goes to or that it is skipped,
// each source field the target lacks, per field and reason the values the target would refuse
// (how many, and the first record in the copy's order), the unique indexes of the target that
// copied keys would violate; then the tables only in the target, and a closing result line.
// A missing target file would be created from the source, so nothing is refused. Returns
// exit_code::Success when nothing would be refused, exit_code::Partial otherwise.
// With data it then compares the copy value by value (compareContent): one line per source
// table and a total line; the result is then exit_code::Success when every compared table is
// "gleich", exit_code::Partial otherwise, and a missing target file cannot be opened.
// Throws engine::Error when a file cannot be opened, CommandError when both paths name the
// same file.
int compareCommand(const CompareRequest& request, std::ostream& out);

}  // namespace vdb
