#include "vdb/CsvWriter.h"

#include "vdb/CommandError.h"

namespace vdb::csv_out {

namespace {

void appendQuoted(std::string& line, const std::string& text) {
    line += '"';
    for (char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

void appendCell(std::string& line, const engine::Variant& value) {
    using Type = engine::Variant::Type;
    switch (value.type()) {
        case Type::Empty:
            return;
        case Type::Text:
            return appendQuoted(line, value.text());
        case Type::Int16:
            line += std::to_string(value.int16());
            return;
        case Type::Int32:
            line += std::to_string(value.int32());
            return;
        case Type::Boolean:
            line += value.boolean() ? "true" : "false";
            return;
        default:
            throw CommandError("Ein Feldwert ist weder Text noch Zahl noch Wahrheitswert.");
    }
}

void appendName(std::string& line, const std::string& name) {
    if (name.find_first_of(",\"\r\n") == std::string::npos) {
        line += name;
    } else {
        appendQuoted(line, name);
    }
}

}  // namespace vdb::csv_out
