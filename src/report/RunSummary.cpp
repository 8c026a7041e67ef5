#include "report/RunSummary.h"

#include <algorithm>

namespace dbcopy {

namespace {

bool contentFault(const TableSummary& table) {
    return table.status == TableStatus::Copied &&
           (!table.content || table.content->result != TableContent::Result::Equal);
}

}  // namespace

void RunSummary::setContent(const std::vector<TableContent>& results) {
    contentChecked = true;
    for (TableSummary& table : tables) {
        const auto result = std::find_if(
            results.begin(), results.end(),
            [&table](const TableContent& content) { return content.name == table.name; });
        if (result != results.end()) table.content = *result;
    }
}

RunStatus RunSummary::status() const {
    if (end == RunEnd::Cancelled) return RunStatus::Cancelled;
    if (end != RunEnd::Finished) return RunStatus::Failed;
    const bool tableFault =
        std::any_of(tables.begin(), tables.end(), [this](const TableSummary& t) {
            return t.status == TableStatus::Failed || t.checkFailed ||
                   (t.status == TableStatus::Copied && !t.verified) ||
                   (contentChecked && contentFault(t));
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
