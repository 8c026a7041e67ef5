#include "vdb/TablePrediction.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>

#include "copy/TableCopy.h"
#include "engine/Error.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "vdb/UniqueKeys.h"

namespace vdb {

namespace {

using engine::sqlite::FieldSpec;
using engine::sqlite::Refusal;
using engine::sqlite::ValueProbe;

constexpr Refusal kReasons[] = {Refusal::WrongType, Refusal::InvalidText, Refusal::TooLong,
                                Refusal::OutOfRange};
constexpr std::size_t kReasonCount = std::size(kReasons);

std::size_t slotOf(Refusal reason) {
    return static_cast<std::size_t>(std::find(std::begin(kReasons), std::end(kReasons), reason) -
                                    std::begin(kReasons));
}

// A value as a report shows it; empty for no value.
std::string shown(const engine::Variant& value) {
    switch (value.type()) {
        case engine::Variant::Type::Text:
            return engine::quoted(value.text());
        case engine::Variant::Type::Int16:
            return std::to_string(value.int16());
        case engine::Variant::Type::Int32:
            return std::to_string(value.int32());
        case engine::Variant::Type::Boolean:
            return value.boolean() ? "true" : "false";
        default:
            return {};
    }
}

struct Tally {
    std::int64_t count = 0;
    RecordPlace first;
};

// A source field the target has, with its target field's definition.
struct MatchedField {
    std::shared_ptr<engine::Field> source;
    FieldSpec target;
    std::array<Tally, kReasonCount> refused{};
};

struct KeyTally {
    UniqueKeys keys;
    Tally duplicates{};
    std::int64_t inTarget = 0;
};

// One prediction: the state of a single pass over the source table.
class TablePredictor {
public:
    TablePredictor(const std::shared_ptr<engine::Table>& pSource, engine::Table& target,
                   const engine::sqlite::TableSpec& targetSchema)
        : m_source(pSource), m_target(target), m_targetSchema(targetSchema) {}

    TablePrediction run(bool targetEmptied) {
        matchFields();
        findUniqueIndexes(targetEmptied);
        if (!targetEmptied) readTargetKeys();
        readSource();
        return collect();
    }

private:
    void matchFields() {
        const auto fields = m_source->Fields();
        for (std::int32_t position = 0; position < fields->Count(); ++position) {
            auto field = fields->ItemAt(position);
            const std::string name = field->Name();
            if (auto target = targetField(name)) {
                const FieldSpec& targetField = targetFieldNamed(target->Name());
                m_probes.emplace_back(targetField);
                m_matched.push_back({std::move(field), targetField});
            } else {
                m_result.skippedFields.push_back(name);
            }
        }
        try {
            m_idField = fields->Item(engine::Variant("ID"));
        } catch (const engine::Error&) {
            // Records are named by their position alone.
        }
    }

    // The target's field of that name as the copy finds it; null when the target lacks it.
    std::shared_ptr<engine::Field> targetField(const std::string& name) {
        try {
            return m_target.Fields()->Item(engine::Variant(name));
        } catch (const engine::Error&) {
            return nullptr;
        }
    }

    const FieldSpec& targetFieldNamed(const std::string& targetName) const {
        for (const FieldSpec& field : m_targetSchema.fields) {
            if (field.name == targetName) return field;
        }
        throw std::logic_error("Feld " + targetName + " fehlt im Schema der Ziel-DB.");
    }

    // The unique indexes whose every field is copied; any other index gets keys without a
    // value in a copied record, which never repeat.
    void findUniqueIndexes(bool targetEmptied) {
        const auto expected = static_cast<std::size_t>(
            std::max(0, m_source->RecordCount()) + (targetEmptied ? 0 : m_target.RecordCount()));
        for (const auto& index : m_targetSchema.indexes) {
            if (!index.unique || index.fields.empty()) continue;
            std::vector<std::size_t> positions;
            for (const std::string& name : index.fields) {
                if (auto position = matchedPosition(name)) positions.push_back(*position);
            }
            if (positions.size() != index.fields.size()) continue;
            m_keys.push_back({UniqueKeys(index.name, std::move(positions), expected)});
        }
    }

    std::optional<std::size_t> matchedPosition(const std::string& targetName) const {
        for (std::size_t position = 0; position < m_matched.size(); ++position) {
            if (m_matched[position].target.name == targetName) return position;
        }
        return std::nullopt;
    }

    // Seeds the key sets with the keys the target already holds, converted by the same probes.
    void readTargetKeys() {
        std::set<std::size_t> used;
        for (const KeyTally& keys : m_keys) {
            used.insert(keys.keys.probePositions().begin(), keys.keys.probePositions().end());
        }
        if (used.empty()) return;
        std::vector<std::pair<std::size_t, std::shared_ptr<engine::Field>>> fields;
        for (const std::size_t position : used) {
            fields.emplace_back(position, targetField(m_matched[position].target.name));
        }
        for (m_target.MoveFirst(engine::Table::kCursorFlags); !m_target.Eof();
             m_target.Move(1, engine::Table::kCursorFlags)) {
            for (const auto& [position, field] : fields)
                m_probes[position].tryValue(field->Value());
            for (KeyTally& keys : m_keys) {
                if (!keys.keys.add(m_probes)) ++keys.inTarget;
            }
        }
    }

    void readSource() {
        dbcopy::TableCopy::ActivateIndex(m_source);
        std::int64_t position = 0;
        for (m_source->MoveFirst(engine::Table::kCursorFlags); !m_source->Eof();
             m_source->Move(1, engine::Table::kCursorFlags)) {
            tryRecord(++position);
        }
    }

    void tryRecord(std::int64_t position) {
        bool refused = false;
        for (std::size_t i = 0; i < m_matched.size(); ++i) {
            const Refusal reason = m_probes[i].tryValue(m_matched[i].source->Value());
            if (reason == Refusal::None) continue;
            count(m_matched[i].refused[slotOf(reason)], position);
            refused = true;
        }
        if (refused) return;  // the record would not be stored, so its keys do not count
        for (KeyTally& keys : m_keys) {
            if (!keys.keys.add(m_probes)) count(keys.duplicates, position);
        }
    }

    void count(Tally& tally, std::int64_t position) {
        if (tally.count++ == 0) {
            tally.first = {position, m_idField ? shown(m_idField->Value()) : std::string()};
        }
    }

    TablePrediction collect() {
        for (const MatchedField& field : m_matched) {
            for (std::size_t slot = 0; slot < kReasonCount; ++slot) {
                const Tally& tally = field.refused[slot];
                if (tally.count == 0) continue;
                m_result.refused.push_back(
                    {field.source->Name(), field.target, kReasons[slot], tally.count, tally.first});
            }
        }
        for (const KeyTally& keys : m_keys) {
            if (keys.duplicates.count == 0 && keys.inTarget == 0) continue;
            m_result.duplicates.push_back(
                {keys.keys.index(), keys.duplicates.count, keys.duplicates.first, keys.inTarget});
        }
        return std::move(m_result);
    }

    std::shared_ptr<engine::Table> m_source;
    engine::Table& m_target;
    const engine::sqlite::TableSpec& m_targetSchema;
    std::vector<MatchedField> m_matched;
    std::vector<ValueProbe> m_probes;  // one per matched field, for its target field
    std::shared_ptr<engine::Field> m_idField;
    std::vector<KeyTally> m_keys;
    TablePrediction m_result;
};

}  // namespace

TablePrediction predictTable(const std::shared_ptr<engine::Table>& pSource, engine::Table& target,
                             const engine::sqlite::TableSpec& targetSchema, bool targetEmptied) {
    return TablePredictor(pSource, target, targetSchema).run(targetEmptied);
}

}  // namespace vdb
