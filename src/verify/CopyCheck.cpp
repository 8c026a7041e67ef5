#include "verify/CopyCheck.h"

#include "copy/ErrorReport.h"
#include "copy/ImportForm.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "verify/ContentComparison.h"
#include "verify/ContentLines.h"

namespace dbcopy {

namespace {

// Writes the comparison's lines and gathers each table's result in results as it ends.
void writeComparison(engine::Database& source, engine::Database& target, RecordYield& yield,
                     const ContentLineWriter& writeLine, std::vector<TableContent>& results) {
    writeLine(contentHeadLine());
    compareContent(source, target, yield, [&](const TableContent& table) {
        results.push_back(table);
        for (const std::string& line : contentTableLines(table)) writeLine(line);
    });
    writeLine(contentTotalLine(results));
}

}  // namespace

CheckedCopy checkedCopyOf(const ImportForm& form) {
    const bool own = form.isDestUserEnabled();
    return {form.text(FormText::txtDatabase),
            form.text(FormText::txtUsername),
            form.text(FormText::txtPassword),
            form.text(FormText::txtDatabaseDest),
            form.text(own ? FormText::txtDestUser : FormText::txtUsername),
            form.text(own ? FormText::txtDestPassword : FormText::txtPassword)};
}

std::vector<TableContent> writeContentComparison(engine::Database& source, engine::Database& target,
                                                 RecordYield& yield,
                                                 const ContentLineWriter& writeLine) {
    std::vector<TableContent> results;
    writeComparison(source, target, yield, writeLine, results);
    return results;
}

std::vector<TableContent> checkCopy(engine::DbServer& server, const CheckedCopy& copy,
                                    RecordYield& yield, const ContentLineWriter& writeLine) {
    std::vector<TableContent> results;
    try {
        const auto source = server.OpenDatabase(copy.source, copy.sourceUser, copy.sourcePassword,
                                                engine::open_flags::ReadOnly);
        const auto target = server.OpenDatabase(copy.target, copy.targetUser, copy.targetPassword,
                                                engine::open_flags::ReadOnly);
        writeComparison(*source, *target, yield, writeLine, results);
    } catch (const engine::Error& failure) {
        const ErrorReport error(failure.code(), failure.description());
        writeLine(error.codeLine());
        writeLine(error.descriptionLine());
        writeLine(contentAbortedLine());
    }
    return results;
}

}  // namespace dbcopy
