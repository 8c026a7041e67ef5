#include "vdb/SchemaFile.h"

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>

#include <nlohmann/json.hpp>

#include "engine/Error.h"
#include "engine/Utf8Path.h"
#include "vdb/CommandError.h"

namespace vdb {

namespace {

using engine::sqlite::FieldType;
using nlohmann::json;

// A JSON value together with its path in the document, for messages.
struct Node {
    const json& value;
    std::string path;

    [[noreturn]] void fail(const std::string& fault) const {
        throw CommandError("Schema fehlerhaft: " + (path.empty() ? "" : path + ": ") + fault);
    }

    Node member(const std::string& key) const {
        return {value.at(key), path.empty() ? key : path + "." + key};
    }
    Node element(std::size_t position) const {
        return {value.at(position), path + "[" + std::to_string(position) + "]"};
    }
    bool has(const std::string& key) const { return value.contains(key); }
};

void requireObject(const Node& node, std::initializer_list<const char*> allowed) {
    if (!node.value.is_object()) node.fail("erwartet wird ein Objekt {…}");
    for (const auto& item : node.value.items()) {
        const bool known = std::any_of(allowed.begin(), allowed.end(),
                                       [&](const char* key) { return item.key() == key; });
        if (!known) node.fail("unbekannter Schlüssel " + engine::quoted(item.key()));
    }
}

std::string text(const Node& node) {
    if (!node.value.is_string()) node.fail("erwartet wird ein Text in Anführungszeichen");
    return node.value.get<std::string>();
}

// A required, non-empty text member.
std::string name(const Node& parent, const std::string& key) {
    if (!parent.has(key)) parent.fail("der Schlüssel " + engine::quoted(key) + " fehlt");
    std::string result = text(parent.member(key));
    if (result.empty()) parent.member(key).fail("der Name ist leer");
    return result;
}

std::string optionalText(const Node& parent, const std::string& key) {
    return parent.has(key) ? text(parent.member(key)) : std::string();
}

// The elements of an array member; none when the member is absent and not required.
std::vector<Node> elements(const Node& parent, const std::string& key, bool required) {
    if (!parent.has(key)) {
        if (required) parent.fail("der Schlüssel " + engine::quoted(key) + " fehlt");
        return {};
    }
    const Node array = parent.member(key);
    if (!array.value.is_array()) array.fail("erwartet wird eine Liste […]");
    std::vector<Node> result;
    for (std::size_t i = 0; i < array.value.size(); ++i) result.push_back(array.element(i));
    return result;
}

FieldType fieldType(const Node& node) {
    const std::string type = text(node);
    for (FieldType candidate :
         {FieldType::Text, FieldType::Int16, FieldType::Int32, FieldType::Bool}) {
        if (type == typeName(candidate)) return candidate;
    }
    node.fail("unbekannter Feldtyp " + engine::quoted(type) +
              " (erlaubt: text, int16, int32, bool)");
}

std::int32_t textSize(const Node& node) {
    const bool positive =
        node.value.is_number_integer() && node.value.get<std::int64_t>() > 0 &&
        node.value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
    if (!positive) node.fail("erwartet wird eine ganze Zahl größer als 0");
    return node.value.get<std::int32_t>();
}

engine::sqlite::FieldSpec field(const Node& node) {
    requireObject(node, {"name", "type", "size"});
    engine::sqlite::FieldSpec described;
    described.name = name(node, "name");
    if (!node.has("type")) node.fail("der Schlüssel " + engine::quoted("type") + " fehlt");
    described.type = fieldType(node.member("type"));
    if (node.has("size")) {
        if (described.type != FieldType::Text) node.fail("eine Größe (size) gibt es nur für Text");
        described.size = textSize(node.member("size"));
    }
    return described;
}

engine::sqlite::IndexSpec index(const Node& node, const engine::sqlite::TableSpec& table) {
    requireObject(node, {"name", "displayName", "fields", "unique"});
    engine::sqlite::IndexSpec described;
    described.name = name(node, "name");
    described.displayName = optionalText(node, "displayName");
    for (const Node& fieldName : elements(node, "fields", true)) {
        described.fields.push_back(text(fieldName));
        const bool known =
            std::any_of(table.fields.begin(), table.fields.end(),
                        [&](const auto& f) { return f.name == described.fields.back(); });
        if (!known)
            fieldName.fail("die Tabelle hat kein Feld " + engine::quoted(described.fields.back()));
    }
    if (described.fields.empty())
        node.member("fields").fail("ein Index braucht mindestens ein Feld");
    if (node.has("unique")) {
        const Node unique = node.member("unique");
        if (!unique.value.is_boolean()) unique.fail("erwartet wird true oder false");
        described.unique = unique.value.get<bool>();
    }
    return described;
}

engine::sqlite::TableSpec table(const Node& node) {
    requireObject(node, {"name", "displayName", "fields", "indexes"});
    engine::sqlite::TableSpec described;
    described.name = name(node, "name");
    described.displayName = optionalText(node, "displayName");
    for (const Node& f : elements(node, "fields", true)) described.fields.push_back(field(f));
    if (described.fields.empty())
        node.member("fields").fail("eine Tabelle braucht mindestens ein Feld");
    for (const Node& i : elements(node, "indexes", false))
        described.indexes.push_back(index(i, described));
    return described;
}

engine::sqlite::UserSpec user(const Node& node) {
    requireObject(node, {"name", "password"});
    return {name(node, "name"), optionalText(node, "password")};
}

}  // namespace

engine::sqlite::Schema parseSchema(const std::string& jsonText) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::parse_error& error) {
        throw CommandError("Schema fehlerhaft: kein gültiges JSON (bei Zeichen " +
                           std::to_string(error.byte) + ")");
    }
    const Node root{document, ""};
    requireObject(root, {"users", "tables"});
    engine::sqlite::Schema schema;
    for (const Node& u : elements(root, "users", true)) schema.users.push_back(user(u));
    if (schema.users.empty()) root.member("users").fail("mindestens ein Benutzer ist nötig");
    for (const Node& t : elements(root, "tables", true)) schema.tables.push_back(table(t));
    return schema;
}

engine::sqlite::Schema readSchemaFile(const std::string& file) {
    std::ifstream in(engine::pathFromUtf8(file), std::ios::binary);
    if (!in) throw CommandError("Die Schemadatei " + engine::quoted(file) + " ist nicht lesbar.");
    return parseSchema({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

std::string typeName(FieldType type) {
    switch (type) {
        case FieldType::Text:
            return "text";
        case FieldType::Int16:
            return "int16";
        case FieldType::Int32:
            return "int32";
        case FieldType::Bool:
            return "bool";
    }
    return "?";
}

}  // namespace vdb
