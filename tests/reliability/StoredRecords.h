#pragma once

#include <map>
#include <string>
#include <vector>

#include "TestDatabase.h"

namespace reliability {

// Every record of every table of a database, opened once for writing as the program opens a
// target (which also repairs a file left in the middle of a write). Throws engine::Error
// when the file does not open.
std::map<std::string, std::vector<testsupport::Row>> storedRecords(const std::string& path);

// Checks that each record of a copy equals the sample record with the same key (the first
// field), and that no key appears twice; a copy may lack records, never hold broken ones.
void expectWholeRecords(const std::vector<testsupport::Row>& copied,
                        const std::vector<testsupport::Row>& sample);

}  // namespace reliability
