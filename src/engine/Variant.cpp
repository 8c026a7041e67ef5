#include "engine/Variant.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"

namespace engine {

void Variant::refuseType(const char* expected) {
    throw Error(codes::TypeMismatch, std::string("Typen unverträglich: erwartet wurde ") + expected);
}

Variant Variant::missing() {
    Variant result;
    result.m_value = MissingTag{};
    return result;
}

bool Variant::operator==(const Variant& other) const {
    if (type() == Type::Array && other.type() == Type::Array) return array() == other.array();
    return m_value == other.m_value;
}

}  // namespace engine
