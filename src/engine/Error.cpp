#include "engine/Error.h"

#include <utility>

namespace engine {

Error::Error(std::int32_t code, std::string description)
    : std::runtime_error(description), m_code(code), m_description(std::move(description)) {}

}  // namespace engine
