#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// Base of every engine object, so that any of them can travel in a Variant.
class Object {
public:
    virtual ~Object() = default;
};

using ObjectRef = std::shared_ptr<Object>;

class Variant;
using VariantArray = std::vector<Variant>;

// The engine's tagged value: keys, field values and record buffers are Variants.
// A Variant is copied by value. An array never changes once it is in a Variant, so copies
// share it: copying a Variant that holds one costs no copy of its elements.
class Variant {
public:
    enum class Type { Empty, Text, Int16, Int32, Boolean, Object, Array, Missing };

    struct EmptyTag {
        bool operator==(const EmptyTag&) const = default;
    };
    struct MissingTag {
        bool operator==(const MissingTag&) const = default;
    };

    Variant() = default;  // empty
    Variant(std::string text) : m_value(std::move(text)) {}
    Variant(const char* text) : m_value(std::string(text)) {}
    Variant(std::int16_t number) : m_value(number) {}
    Variant(std::int32_t number) : m_value(number) {}
    Variant(bool flag) : m_value(flag) {}
    Variant(ObjectRef object) : m_value(std::move(object)) {}
    Variant(VariantArray array)
        : m_value(std::make_shared<const VariantArray>(std::move(array))) {}

    // An optional argument that the caller left out.
    static Variant missing();

    Type type() const noexcept { return static_cast<Type>(m_value.index()); }
    bool isEmpty() const noexcept { return type() == Type::Empty; }
    bool isMissing() const noexcept { return type() == Type::Missing; }

    // Typed access; each throws engine::Error (TypeMismatch) when the Variant holds another type.
    const std::string& text() const { return held<std::string>("Text"); }
    std::int16_t int16() const { return held<std::int16_t>("16-Bit-Ganzzahl"); }
    std::int32_t int32() const { return held<std::int32_t>("32-Bit-Ganzzahl"); }
    bool boolean() const { return held<bool>("Wahrheitswert"); }
    const ObjectRef& object() const { return held<ObjectRef>("Objekt"); }
    const VariantArray& array() const {
        return *held<std::shared_ptr<const VariantArray>>("Datenfeld");
    }

    bool operator==(const Variant& other) const;

private:
    // Typed access is asked for with every value a copy reads or writes: the check stays inline,
    // the error is raised out of line.
    template <typename T>
    const T& held(const char* expected) const {
        if (const T* value = std::get_if<T>(&m_value)) return *value;
        refuseType(expected);
    }
    [[noreturn]] static void refuseType(const char* expected);

    // The order of the alternatives matches Type.
    std::variant<EmptyTag, std::string, std::int16_t, std::int32_t, bool, ObjectRef,
                 std::shared_ptr<const VariantArray>, MissingTag>
        m_value;
};

}  // namespace engine
