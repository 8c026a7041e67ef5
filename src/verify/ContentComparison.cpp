#include "verify/ContentComparison.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "copy/RecordYield.h"
#include "copy/TableCopy.h"
#include "engine/Database.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"
#include "engine/sqlite/ValueProbe.h"
#include "verify/ShownValue.h"
#include "verify/FindTable.h"

namespace dbcopy {

namespace {

using engine::sqlite::Refusal;
using engine::sqlite::ValueProbe;

// The field of that name as the copy finds it; null when the fields lack it.
std::shared_ptr<engine::Field> findField(engine::Fields& fields, const std::string& name) {
    try {
        return fields.Item(engine::Variant(name));
    } catch (const engine::Error&) {
        return nullptr;
    }
}

const engine::sqlite::FieldSpec& fieldSpec(const engine::sqlite::TableSpec& table,
                                           const std::string& name) {
    for (const auto& field : table.fields) {
        if (field.name == name) return field;
    }
    throw engine::Error(engine::codes::NotADatabase,
                        "Feld " + engine::quoted(name) + " fehlt im Schema der Ziel-DB.");
}

// A field both tables have, with the target field's conversion.
struct ComparedField {
    std::shared_ptr<engine::Field> source;
    std::shared_ptr<engine::Field> target;
    ValueProbe probe;

    // True when the target holds the value the copy would have stored for the source's.
    bool equal() {
        return probe.tryValue(source->Value()) == Refusal::None &&
               probe.holdsStored(target->Value());
    }
};

// The comparison of one source table with its target table.
class TableComparison {
public:
    TableComparison(std::shared_ptr<engine::Table> source, engine::Table& target,
                    const engine::sqlite::TableSpec& targetSchema, RecordYield& yield)
        : m_source(std::move(source)), m_target(target), m_yield(yield) {
        m_result.name = m_source->Name();
        m_result.displayName = m_source->DisplayName(0);
        matchFields(targetSchema);
    }

    TableContent run() {
        const std::int64_t sourceCount = m_source->RecordCount();
        const std::int64_t targetCount = m_target.RecordCount();
        if (targetCount < sourceCount) {
            m_result.result = TableContent::Result::Missing;
            m_result.missing = sourceCount - targetCount;
            return std::move(m_result);
        }
        walk(targetCount - sourceCount);
        if (m_result.differing > 0) m_result.result = TableContent::Result::Different;
        return std::move(m_result);
    }

private:
    void matchFields(const engine::sqlite::TableSpec& targetSchema) {
        const auto sourceFields = m_source->Fields();
        const auto targetFields = m_target.Fields();
        for (std::int32_t position = 0; position < sourceFields->Count(); ++position) {
            auto field = sourceFields->ItemAt(position);
            auto target = findField(*targetFields, field->Name());
            if (!target) {
                m_result.sourceOnlyFields.push_back(field->Name());
                continue;
            }
            const auto& definition = fieldSpec(targetSchema, target->Name());
            m_fields.push_back({std::move(field), std::move(target), ValueProbe(definition)});
        }
        for (std::int32_t position = 0; position < targetFields->Count(); ++position) {
            const std::string name = targetFields->ItemAt(position)->Name();
            if (!findField(*sourceFields, name)) m_result.targetOnlyFields.push_back(name);
        }
        m_idField = findField(*sourceFields, "ID");
    }

    // Walks the source in the copy's order beside the target's records after the first skipped.
    void walk(std::int64_t skipped) {
        TableCopy::ActivateIndex(m_source);
        m_source->MoveFirst(engine::Table::kCursorFlags);
        m_target.MoveFirst(engine::Table::kCursorFlags);
        if (skipped > 0) {
            m_target.Move(static_cast<std::int32_t>(skipped), engine::Table::kCursorFlags);
        }
        while (!m_source->Eof()) {
            if (m_target.Eof()) {  // the count said more than the target holds
                m_result.result = TableContent::Result::Missing;
                ++m_result.missing;
            } else {
                compareRecord();
                m_target.Move(1, engine::Table::kCursorFlags);
            }
            m_yield.yieldPerRecord();
            m_source->Move(1, engine::Table::kCursorFlags);
        }
    }

    void compareRecord() {
        ++m_result.compared;
        for (ComparedField& field : m_fields) {
            if (field.equal()) continue;
            if (m_result.differing++ == 0) noteFirst(field);
            return;
        }
    }

    void noteFirst(ComparedField& field) {
        m_result.first = ContentDifference{m_result.compared,
                                           m_idField ? shownValue(m_idField->Value(), false) : "",
                                           field.source->Name(), shownValue(field.source->Value()),
                                           shownValue(field.target->Value())};
    }

    std::shared_ptr<engine::Table> m_source;
    engine::Table& m_target;
    RecordYield& m_yield;
    std::vector<ComparedField> m_fields;
    std::shared_ptr<engine::Field> m_idField;
    TableContent m_result;
};

const engine::sqlite::TableSpec& tableSpec(const engine::sqlite::Schema& schema,
                                           const std::string& name) {
    for (const auto& table : schema.tables) {
        if (table.name == name) return table;
    }
    throw engine::Error(engine::codes::NotADatabase,
                        "Tabelle " + engine::quoted(name) + " fehlt im Schema der Ziel-DB.");
}

TableContent skipped(engine::Table& source) {
    TableContent result;
    result.name = source.Name();
    result.displayName = source.DisplayName(0);
    result.result = TableContent::Result::Skipped;
    return result;
}

}  // namespace

std::vector<TableContent> compareContent(engine::Database& source, engine::Database& target,
                                         RecordYield& yield, const TableContentHandler& onTable) {
    const engine::sqlite::Schema targetSchema = engine::sqlite::readSchema(target);
    const auto sourceTables = source.Tables();
    const auto targetTables = target.Tables();
    std::vector<TableContent> results;
    for (std::int32_t position = 0; position < sourceTables->Count(); ++position) {
        const auto table = sourceTables->ItemAt(position);
        const auto namesake = findTable(*targetTables, table->Name());
        results.push_back(namesake
                              ? TableComparison(table, *namesake,
                                                tableSpec(targetSchema, namesake->Name()), yield)
                                    .run()
                              : skipped(*table));
        if (onTable) onTable(results.back());
    }
    return results;
}

}  // namespace dbcopy
