#pragma once

#include <functional>
#include <string>
#include <vector>

#include "verify/TableContent.h"

namespace engine {
class Database;
class DbServer;
}  // namespace engine

namespace dbcopy {

class ImportForm;
class RecordYield;

// Receives each line of a comparison as it is written.
using ContentLineWriter = std::function<void(const std::string& line)>;

// The files and logins of a copy as its check opens them again; held in memory only.
struct CheckedCopy {
    std::string source;
    std::string sourceUser;
    std::string sourcePassword;
    std::string target;
    std::string targetUser;
    std::string targetPassword;
};

// The files and logins a run reads from form: the target with its own login when txtDestUser is
// enabled, otherwise with the source's, as the run opens it.
CheckedCopy checkedCopyOf(const ImportForm& form);

// Compares source and target value by value (compareContent) and writes contentHeadLine, each
// table's lines as soon as the table is done, and contentTotalLine. Returns the results.
// Throws engine::Error when a database cannot be read, and what writeLine throws.
std::vector<TableContent> writeContentComparison(engine::Database& source, engine::Database& target,
                                                 RecordYield& yield,
                                                 const ContentLineWriter& writeLine);

// The check of a copy already made: opens both files of copy read-only through server and
// writes the comparison's lines as writeContentComparison does. An engine error on the way (a
// file that cannot be opened or read) is written as the two error report lines and
// contentAbortedLine(); the results of the tables compared until then are returned. Throws
// what writeLine throws, and what is no engine error.
std::vector<TableContent> checkCopy(engine::DbServer& server, const CheckedCopy& copy,
                                    RecordYield& yield, const ContentLineWriter& writeLine);

}  // namespace dbcopy
