#include "copy/TableCopy.h"

#include <string>
#include <utility>

#include "copy/ErrorReport.h"
#include "copy/RecordCounter.h"
#include "copy/RecordYield.h"
#include "copy/RequireObject.h"
#include "copy/RunObserver.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Indexes.h"
#include "engine/Table.h"

namespace dbcopy {

namespace {

constexpr std::int32_t kProgressInterval = 1000;

}  // namespace

TableCopy::TableCopy(RunLog& log, RecordYield& yield, const std::atomic<bool>& cancel)
    : m_log(log), m_yield(yield), m_cancel(cancel) {}

TableOutcome TableCopy::CopyTable(std::shared_ptr<engine::Table> pSourceTable,
                                  std::shared_ptr<engine::Table> pDestTable) {
    RecordCounter counter;
    try {
        writeStartLine(*requireObject(pSourceTable));
        const MatchedFields matched = matchFields(*pSourceTable, *requireObject(pDestTable));
        ActivateIndex(pSourceTable);
        const bool interrupted = copyRecords(*pSourceTable, *pDestTable, matched, counter);
        writeFinalLine(*pSourceTable, counter.value());
        if (interrupted) {
            m_log.events().tableInterrupted(counter.value());
            return {TableOutcome::End::Interrupted, counter.value()};
        }
        m_log.events().tableFinished(counter.value());
        return {TableOutcome::End::Finished, counter.value()};
    } catch (...) {
        const ErrorReport error = ErrorReport::fromCurrentException();
        error.writeTo(m_log);
        m_log.events().tableFailed(error.toRunError());
        return {TableOutcome::End::Failed, counter.value()};
    }
}

void TableCopy::ActivateIndex(std::shared_ptr<engine::Table> pTable) {
    try {
        requireObject(pTable->Indexes())->Activate(engine::Variant("ID"));
        return;
    } catch (...) {
        // Any failure, whatever its code, leads to the fallback below.
    }
    try {
        if (requireObject(pTable->Indexes())->Count() > 0) {
            requireObject(pTable->Indexes())->Activate(engine::Variant(std::int16_t{0}));
        }
    } catch (...) {
        // The copy goes on in the table's current order.
    }
}

void TableCopy::writeStartLine(engine::Table& source) {
    m_log.AddLog("Exportvorgang für Tabelle " + source.DisplayName(0) + " beginnt.");
}

TableCopy::MatchedFields TableCopy::matchFields(engine::Table& source, engine::Table& dest) {
    MatchedFields matched;
    try {
        const auto fields = requireObject(source.Fields());
        const std::int32_t count = fields->Count();
        for (std::int32_t position = 0; position < count; ++position) {
            matchField(requireObject(fields->ItemAt(position)), dest, matched);
        }
    } catch (...) {
        return {};  // the source fields cannot be enumerated: nothing is matched
    }
    return matched;
}

void TableCopy::matchField(std::shared_ptr<engine::Field> field, engine::Table& dest,
                           MatchedFields& matched) {
    engine::Variant key;
    std::shared_ptr<engine::Field> candidate;
    try {
        key = engine::Variant(field->Name());
        candidate = requireObject(dest.Fields())->Item(key);
    } catch (...) {
        // A failed lookup leaves no candidate: the target lacks the field.
    }
    if (!candidate) {
        try {
            const std::string name = field->Name();
            m_log.AddLog("Das Feld " + name +
                         " ist in der Ziel-DB nicht vorhanden. Das Feld wird übersprungen.");
            m_log.events().fieldSkipped(name);
        } catch (...) {
            // The line cannot be built or written; the field stays unmatched all the same.
        }
        return;
    }
    try {
        matched.push_back({std::move(field), std::move(key)});
    } catch (...) {
        // The field is not copied.
    }
}

bool TableCopy::copyRecords(engine::Table& source, engine::Table& dest,
                            const MatchedFields& matched, RecordCounter& counter) {
    source.MoveFirst(engine::Table::kCursorFlags);
    for (;;) {
        // A plain read per record: the request comes from another thread or a signal handler.
        if (m_cancel.load(std::memory_order_relaxed)) return true;
        if (source.Eof()) return false;
        copyRecord(dest, matched);
        counter.increment();
        m_yield.yieldPerRecord();
        if (counter.value() % kProgressInterval == 0) writeProgressLine(source, counter.value());
        source.Move(1, engine::Table::kCursorFlags);
    }
}

void TableCopy::copyRecord(engine::Table& dest, const MatchedFields& matched) {
    dest.AddNew(dest.NewRecordBuffer(0));
    for (const MatchedField& field : matched) {
        const auto target = requireObject(requireObject(dest.Fields())->Item(field.key));
        target->SetValue(field.source->Value());
    }
    dest.Update(engine::Table::kCursorFlags);
}

void TableCopy::writeProgressLine(engine::Table& source, std::int32_t count) {
    std::string line = source.DisplayName(0);
    line += ": " + std::to_string(count) + "/";
    line += std::to_string(source.RecordCount());
    m_log.AddLog(line);
    m_log.events().progress(count);
}

void TableCopy::writeFinalLine(engine::Table& source, std::int32_t count) {
    m_log.AddLog(source.DisplayName(0) + ": " + std::to_string(count) + " Datensätze exportiert.");
}

}  // namespace dbcopy
