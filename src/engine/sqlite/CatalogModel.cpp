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

}  // namespace engine::sqlite
