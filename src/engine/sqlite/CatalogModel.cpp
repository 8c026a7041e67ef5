#include "engine/sqlite/CatalogModel.h"

namespace engine::sqlite {

std::string dataTableName(std::int64_t tableId) {
    return "data_" + std::to_string(tableId);
}

std::string indexSqlName(std::int64_t indexId) {
    return "idx_" + std::to_string(indexId);
}

std::string columnName(int position) {
    return "f" + std::to_string(position);
}

std::string columnList(const std::vector<int>& positions, const std::string& separator) {
    std::string columns;
    for (int position : positions) {
        columns += (columns.empty() ? "" : separator) + columnName(position);
    }
    return columns;
}

std::string columnList(const std::vector<FieldDef>& fields) {
    std::vector<int> positions;
    for (const FieldDef& field : fields) positions.push_back(field.position);
    return columnList(positions);
}

}  // namespace engine::sqlite
