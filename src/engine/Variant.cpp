#include "engine/Variant.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"

namespace engine {

namespace {

template <typename T>
const T& get(const auto& value, const char* expected) {
    if (const T* held = std::get_if<T>(&value)) return *held;
    throw Error(codes::TypeMismatch,
                std::string("Typen unverträglich: erwartet wurde ") + expected);
}

}  // namespace

Variant Variant::missing() {
    Variant result;
    result.m_value = MissingTag{};
    return result;
}

const std::string& Variant::text() const {
    return get<std::string>(m_value, "Text");
}
std::int16_t Variant::int16() const {
    return get<std::int16_t>(m_value, "16-Bit-Ganzzahl");
}
std::int32_t Variant::int32() const {
    return get<std::int32_t>(m_value, "32-Bit-Ganzzahl");
}
bool Variant::boolean() const {
    return get<bool>(m_value, "Wahrheitswert");
}
const ObjectRef& Variant::object() const {
    return get<ObjectRef>(m_value, "Objekt");
}
const VariantArray& Variant::array() const {
    return *get<std::shared_ptr<const VariantArray>>(m_value, "Datenfeld");
}

bool Variant::operator==(const Variant& other) const {
    if (type() == Type::Array && other.type() == Type::Array) return array() == other.array();
    return m_value == other.m_value;
}

}  // namespace engine
