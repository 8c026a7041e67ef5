#include "report/RunSummary.h"

#include <algorithm>

namespace dbcopy {

RunStatus RunSummary::status() const {
    if (end == RunEnd::Cancelled) return RunStatus::Cancelled;
    if (end != RunEnd::Finished) return RunStatus::Failed;
    const bool tableFault = std::any_of(tables.begin(), tables.end(), [](const TableSummary& t) {
        return t.status == TableStatus::Failed || t.checkFailed ||
               (t.status == TableStatus::Copied && !t.verified);
    });
    const bool indexFault = std::any_of(indexes.begin(), indexes.end(),
                                        [](const IndexSummary& index) { return index.error; });
    return tableFault || indexFault ? RunStatus::Partial : RunStatus::Ok;
}

std::int64_t RunSummary::recordsCopied() const {
    std::int64_t total = 0;
    for (const TableSummary& table : tables) total += table.copied;
    return total;
}

}  // namespace dbcopy
