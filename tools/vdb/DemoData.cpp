#include "vdb/DemoData.h"

#include <algorithm>
#include <memory>

#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace vdb {

namespace {

using engine::Variant;
using engine::sqlite::FieldSpec;
using engine::sqlite::FieldType;

constexpr std::int32_t kChunk = 5000;  // records per transaction

FieldSpec text(const std::string& name, std::int32_t size) {
    return {name, FieldType::Text, size};
}
FieldSpec of(const std::string& name, FieldType type) {
    return {name, type, 255};
}

Variant int16(int value) {
    return Variant(static_cast<std::int16_t>(value));
}

std::string twoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

engine::sqlite::Schema DemoData::schema() {
    engine::sqlite::Schema schema;
    schema.users.push_back({kUser, kPassword});
    schema.tables.push_back(
        {"Kunden",
         "Kunden",
         {of("ID", FieldType::Int32), text("Name", 60), text("Vorname", 40), text("Straße", 80),
          text("PLZ", 5), text("Ort", 40), text("Telefon", 30), of("Aktiv", FieldType::Bool),
          of("Stufe", FieldType::Int16), of("Umsatz", FieldType::Int32)},
         {{"ID", "ID", {"ID"}, true}, {"Name", "Name", {"Name", "Vorname"}, false}}});
    schema.tables.push_back(
        {"Termine",
         "Termine",
         {of("KundenID", FieldType::Int32), text("Datum", 10), text("Uhrzeit", 5),
          text("Betreff", 100), of("Erledigt", FieldType::Bool)},
         {}});
    schema.tables.push_back({"Kontakte",
                             "Kontakte",
                             {of("KontaktNr", FieldType::Int32), of("KundenID", FieldType::Int32),
                              text("Art", 20), text("Notiz", 200), of("Dauer", FieldType::Int16)},
                             {{"KontaktNr", "Kontaktnummer", {"KontaktNr"}, true}}});
    schema.tables.push_back(
        {"Produkte",
         "Produkte",
         {of("ArtikelNr", FieldType::Int32), text("Bezeichnung", 80), text("Größe", 20),
          of("Preis", FieldType::Int32), of("Lieferbar", FieldType::Bool)},
         {{"Bezeichnung", "Bezeichnung", {"Bezeichnung"}, false},
          {"ID", "Artikelnummer", {"ArtikelNr"}, true}}});
    return schema;
}

std::int32_t DemoData::recordCount(const std::string& table, std::int32_t customers) {
    if (table == "Kunden") return customers;
    if (table == "Termine") return customers / 2;
    if (table == "Kontakte") return customers / 4;
    return kProducts;
}

void DemoData::fill(engine::Database& database) {
    for (const auto& table : schema().tables) fillTable(database, table.name);
}

void DemoData::fillTable(engine::Database& database, const std::string& name) {
    auto pTable = database.Tables()->Item(Variant(name));
    auto fields = pTable->Fields();
    const std::int32_t total = recordCount(name, m_customers);
    for (std::int32_t first = 0; first < total; first += kChunk) {
        engine::sqlite::inTransaction(database, [&] {
            for (std::int32_t number = first; number < std::min(total, first + kChunk); ++number) {
                const engine::VariantArray values = record(name, number);
                pTable->AddNew(pTable->NewRecordBuffer(0));
                for (std::size_t i = 0; i < values.size(); ++i) {
                    fields->ItemAt(static_cast<std::int32_t>(i))->SetValue(values[i]);
                }
                pTable->Update(engine::Table::kCursorFlags);
            }
        });
    }
}

engine::VariantArray DemoData::record(const std::string& table, std::int32_t number) {
    if (table == "Kunden") return customer(number);
    if (table == "Termine") return appointment(number);
    if (table == "Kontakte") return contact(number);
    return product(number);
}

engine::VariantArray DemoData::customer(std::int32_t number) {
    const char* name = pick({"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer",
                             "Wagner", "Becker", "Schäfer", "Köhler", "Krüger", "König", "Schröder",
                             "Weiß", "Groß", "Möller", "Hoffmann", "Jäger"});
    const char* firstName = pick({"Jürgen", "Günter", "Käthe", "Jörg", "Anna", "Lukas", "Sören",
                                  "Björn", "Sophie", "Hannah", "Paul", "Ömer", "Zoë", "Lena"});
    const char* street = pick({"Hauptstraße", "Mühlenweg", "Am Bürgerpark", "Schloßallee",
                               "Königsallee", "Lindenstraße", "Große Gasse", "Gartenweg"});
    const char* town = pick({"Köln", "München", "Düsseldorf", "Nürnberg", "Lübeck", "Göttingen",
                             "Würzburg", "Saarbrücken", "Osnabrück", "Fürth", "Berlin"});
    const std::int32_t postcode = 10000 + below(89999);
    const Variant phone = number % 7 == 3 ? Variant()
                          : number % 11 == 5
                              ? Variant("")
                              : Variant("0" + std::to_string(200 + below(800)) + "/" +
                                        std::to_string(100000 + below(900000)));
    return {Variant(number + 1),
            Variant(name),
            Variant(firstName),
            Variant(std::string(street) + " " + std::to_string(1 + below(120))),
            Variant(std::to_string(postcode)),
            Variant(town),
            phone,
            Variant(below(5) != 0),
            int16(1 + below(5)),
            Variant(below(2000000))};
}

engine::VariantArray DemoData::appointment(std::int32_t number) {
    const std::string date = "2024-" + twoDigits(1 + below(12)) + "-" + twoDigits(1 + below(28));
    const std::string time = twoDigits(8 + below(10)) + ":" + twoDigits(15 * below(4));
    const char* subject = pick({"Rückruf wegen Größe", "Angebot für Straßenbeleuchtung",
                                "Beschwerde: Lieferverzögerung", "Jahresgespräch",
                                "Vorführung \"Modell Süd\"", "Übergabe, Schulung"});
    return {Variant(1 + below(std::max(m_customers, 1))), Variant(date), Variant(time),
            Variant(subject), Variant(number % 3 == 0)};
}

engine::VariantArray DemoData::contact(std::int32_t number) {
    const char* kind = pick({"Telefon", "E-Mail", "Besuch", "Brief"});
    const Variant note = number % 5 == 0 ? Variant()
                                         : Variant(pick({"Kunde wünscht Rückmeldung bis Freitag.",
                                                         "Größe passt nicht; Umtausch gewünscht.",
                                                         "Rechnung über 1.234,50 € geprüft.",
                                                         "Neue Anschrift:\r\nGartenstraße 5"}));
    return {Variant(number + 1), Variant(1 + below(std::max(m_customers, 1))), Variant(kind), note,
            int16(below(120))};
}

engine::VariantArray DemoData::product(std::int32_t number) {
    const char* article = pick({"Bürostuhl", "Schreibtisch", "Aktenschrank", "Stehpult",
                                "Lampe \"Nordlicht\"", "Rollcontainer", "Garderobe"});
    const char* size = pick({"S", "M", "L", "XL", "Übergröße"});
    return {Variant(1000 + number), Variant(std::string(article) + " " + std::to_string(number)),
            Variant(size), Variant(999 + below(100000)), Variant(number % 4 != 0)};
}

std::int32_t DemoData::below(std::int32_t bound) {
    return static_cast<std::int32_t>(m_random() % static_cast<std::uint32_t>(bound));
}

const char* DemoData::pick(std::initializer_list<const char*> choices) {
    return choices.begin()[below(static_cast<std::int32_t>(choices.size()))];
}

}  // namespace vdb
