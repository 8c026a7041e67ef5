#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "EngineTestFiles.h"
#include "TempDir.h"
#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/ValueProbe.h"

namespace {

namespace codes = engine::codes;
using engine::Variant;
using engine::sqlite::FieldType;
using I16 = std::int16_t;
using I32 = std::int32_t;

struct ConversionCase {
    const char* field;  // T text(5), K int16, L int32, B bool
    Variant input;
    std::optional<Variant> stored;  // nullopt: ValueRefused
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
    return out << c.field;
}

const std::optional<Variant> kRefused;

const ConversionCase kCases[] = {
    {"T", "abc", Variant("abc")},
    {"T", "ÄÖÜäß", Variant("ÄÖÜäß")},  // five code points in ten bytes
    {"T", "ÄÖÜäßx", kRefused},
    {"T", I16{-7}, Variant("-7")},
    {"T", I32{12345}, Variant("12345")},
    {"T", I32{123456}, kRefused},
    {"T", true, Variant("true")},
    {"T", false, Variant("false")},
    {"T", "\xff\xfe", kRefused},
    // UTF-8: the edges of each well-formed range are text, the forms just beyond them are not
    {"T", "\xed\x9f\xbf\xee\x80\x80", Variant("\xed\x9f\xbf\xee\x80\x80")},  // U+D7FF U+E000
    {"T", "\xe0\xa0\x80\xf0\x90\x80\x80", Variant("\xe0\xa0\x80\xf0\x90\x80\x80")},
    {"T",
     "\xf4\x8f\xbf\xbf"
     "abcd",
     Variant("\xf4\x8f\xbf\xbf"
             "abcd")},                    // U+10FFFF
    {"T", "\xed\xa0\x80", kRefused},      // a surrogate
    {"T", "\xe0\x80\x80", kRefused},      // an overlong form of U+0000
    {"T", "\xc0\x80", kRefused},          // another one
    {"T", "\xf0\x8f\xbf\xbf", kRefused},  // an overlong form of U+FFFF
    {"T", "\xf4\x90\x80\x80", kRefused},  // above U+10FFFF
    {"T", "ab\xe2\x82", kRefused},        // cut short at the end
    {"T", "\x80", kRefused},              // a continuation byte alone
    {"T", Variant(), Variant()},
    {"T", Variant::missing(), Variant()},
    {"T", Variant(std::make_shared<engine::Object>()), kRefused},
    {"T", Variant(engine::VariantArray{Variant("a")}), kRefused},
    {"K", I16{-32768}, Variant(I16{-32768})},
    {"K", I32{32767}, Variant(I16{32767})},
    {"K", I32{32768}, kRefused},
    {"K", I32{-32769}, kRefused},
    {"K", true, Variant(I16{1})},
    {"K", "-123", Variant(I16{-123})},
    {"K", "40000", kRefused},
    {"K", "12 ", kRefused},
    {"K", " 12", kRefused},
    {"K", "+5", kRefused},
    {"K", "", kRefused},
    {"K", "-", kRefused},
    {"K", "1.5", kRefused},
    {"K", "99999999999999999999999", kRefused},
    {"K", Variant(), Variant()},
    {"L", I32{-2147483647 - 1}, Variant(I32{-2147483647 - 1})},
    {"L", I16{-5}, Variant(I32{-5})},
    {"L", "2147483647", Variant(I32{2147483647})},
    {"L", "-2147483648", Variant(I32{-2147483647 - 1})},
    {"L", "2147483648", kRefused},
    {"L", false, Variant(I32{0})},
    {"L", Variant(engine::VariantArray{}), kRefused},
    {"B", true, Variant(true)},
    {"B", I16{0}, Variant(false)},
    {"B", I32{-3}, Variant(true)},
    {"B", "TRUE", Variant(true)},
    {"B", "False", Variant(false)},
    {"B", "ja", kRefused},
    {"B", "1", kRefused},
    {"B", Variant(), Variant()},
};

class ValueConversionTest : public ::testing::TestWithParam<ConversionCase> {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<testsupport::TempDir>();
        const std::string path = s_dir->file("werte.vdb");
        testsupport::createVdb(path, {{"Werte",
                                       "",
                                       {{"T", FieldType::Text, 5},
                                        {"K", FieldType::Int16, 0},
                                        {"L", FieldType::Int32, 0},
                                        {"B", FieldType::Bool, 0}},
                                       {}}});
        s_database = enginetest::openDb(path);
    }
    static void TearDownTestSuite() {
        s_database.reset();
        s_dir.reset();
    }

    static inline std::unique_ptr<testsupport::TempDir> s_dir;
    static inline std::shared_ptr<engine::Database> s_database;
};

TEST_P(ValueConversionTest, StoresConvertedValueOrRefusesWithoutStoring) {
    const ConversionCase& c = GetParam();
    auto table = s_database->Tables()->Item(Variant("Werte"));
    table->DeleteAllRecords();
    auto field = table->Fields()->Item(Variant(c.field));
    table->AddNew(table->NewRecordBuffer(0));
    if (!c.stored) {
        try {
            field->SetValue(c.input);
            FAIL() << "value accepted";
        } catch (const engine::Error& error) {
            EXPECT_EQ(error.code(), codes::ValueRefused);
            EXPECT_NE(error.description().find(std::string("„") + c.field + "“"), std::string::npos)
                << error.description();
        }
        EXPECT_EQ(table->RecordCount(), 0);
        return;
    }
    field->SetValue(c.input);
    table->Update(32);
    table->MoveFirst(32);
    ASSERT_FALSE(table->Eof());
    EXPECT_EQ(field->Value(), *c.stored);
    for (const char* other : {"T", "K", "L", "B"}) {  // unwritten fields stay empty
        if (std::string(other) != c.field) {
            EXPECT_TRUE(table->Fields()->Item(Variant(other))->Value().isEmpty());
        }
    }
}

// The probe also knows the value a read then returns, as a comparison of a copy needs it.
TEST_P(ValueConversionTest, ProbeRefusesExactlyWhatAWriteRefusesAndKnowsTheValueReadBack) {
    const ConversionCase& c = GetParam();
    const std::string name = c.field;
    const FieldType type = name == "T"   ? FieldType::Text
                           : name == "K" ? FieldType::Int16
                           : name == "L" ? FieldType::Int32
                                         : FieldType::Bool;
    engine::sqlite::ValueProbe probe({name, type, 5});
    EXPECT_EQ(probe.tryValue(c.input) == engine::sqlite::Refusal::None, c.stored.has_value());
    if (!c.stored) return;
    EXPECT_TRUE(probe.holdsStored(*c.stored));
    EXPECT_FALSE(probe.holdsStored(Variant("anders")));
    EXPECT_FALSE(probe.holdsStored(Variant(std::int32_t{-7})));
}

INSTANTIATE_TEST_SUITE_P(Table, ValueConversionTest, ::testing::ValuesIn(kCases));

}  // namespace
