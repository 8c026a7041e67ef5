#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <stdexcept>

#include "MemorySettingsStore.h"
#include "settings/SettingsForm.h"

namespace {

using dbcopy::SettingsField;
using testsupport::MemorySettingsStore;
using Address = MemorySettingsStore::Address;

// The three remembered text boxes of the window, in memory.
class FakeForm : public dbcopy::SettingsForm {
public:
    std::string settingText(SettingsField field) const override { return texts.at(field); }
    void setSettingText(SettingsField field, const std::string& text) override {
        texts[field] = text;
    }

    std::map<SettingsField, std::string> texts{{SettingsField::txtDatabase, ""},
                                               {SettingsField::txtUsername, ""},
                                               {SettingsField::txtDatabaseDest, ""}};
};

// A store whose reads fail from the nth on.
class UnreadableStore : public MemorySettingsStore {
public:
    std::string readSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& defaultText) override {
        if (++m_reads >= 2) throw std::runtime_error("settings store not readable");
        return MemorySettingsStore::readSetting(app, section, key, defaultText);
    }

private:
    int m_reads = 0;
};

const Address kSource{"VeltronaDBCopy", "Startup", "SourceDatabase"};
const Address kUser{"VeltronaDBCopy", "Startup", "UserName"};
const Address kDest{"VeltronaDBCopy", "Startup", "DestDatabase"};

TEST(Settings, DefaultsWhenNoKeyExists) {
    MemorySettingsStore store;
    FakeForm form;
    dbcopy::LoadSettings(store, form);

#if defined(_WIN32)
    const std::string folder = "C:\\ProgramData\\VelDB\\Veltrona CRM 2010";
#else
    const std::string folder = "/var/lib/VelDB/Veltrona CRM 2010";
#endif
    EXPECT_EQ(form.texts[SettingsField::txtDatabase], folder);
    EXPECT_EQ(form.texts[SettingsField::txtUsername], "ADMIN");
    EXPECT_EQ(form.texts[SettingsField::txtDatabaseDest], folder);
    EXPECT_EQ(dbcopy::defaultDatabaseFolder(), folder);
}

TEST(Settings, LoadReadsTheThreeKeysInOrder) {
    MemorySettingsStore store;
    FakeForm form;
    dbcopy::LoadSettings(store, form);
    EXPECT_EQ(store.reads, (std::vector<Address>{kSource, kUser, kDest}));
}

TEST(Settings, SaveWritesOnlyTheThreeBoxesInOrderUnderTheProgramTitle) {
    MemorySettingsStore store;
    FakeForm form;
    form.texts = {{SettingsField::txtDatabase, "/data/quelle.vdb"},
                  {SettingsField::txtUsername, "Verwalter"},
                  {SettingsField::txtDatabaseDest, "/data/ziel.vdb"}};
    dbcopy::SaveSettings(store, form);

    EXPECT_EQ(store.writes, (std::vector<Address>{kSource, kUser, kDest}));
    EXPECT_EQ(store.values,
              (std::map<Address, std::string>{
                  {kSource, "/data/quelle.vdb"}, {kUser, "Verwalter"}, {kDest, "/data/ziel.vdb"}}));
}

// Values come back exactly as they were saved: nothing trimmed, an empty text stays empty, and
// only a missing key brings back a default.
struct RoundTripCase {
    const char* label;
    std::string database;
    std::string user;
    std::string dest;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const RoundTripCase& values, std::ostream* out) {
    *out << values.label;
}

class SettingsRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(SettingsRoundTrip, ValuesComeBackUnchanged) {
    const RoundTripCase& values = GetParam();
    MemorySettingsStore store;
    FakeForm saved;
    saved.texts = {{SettingsField::txtDatabase, values.database},
                   {SettingsField::txtUsername, values.user},
                   {SettingsField::txtDatabaseDest, values.dest}};
    dbcopy::SaveSettings(store, saved);

    FakeForm loaded;
    dbcopy::LoadSettings(store, loaded);
    EXPECT_EQ(loaded.texts, saved.texts);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsRoundTrip,
    testing::Values(
        RoundTripCase{"EmptiedUserName", "/a.vdb", "", "/b.vdb"},
        RoundTripCase{"AllEmpty", "", "", ""},
        RoundTripCase{"SpacesKept", "  /a b.vdb ", " ADMIN ", "\t/ziel.vdb  "},
        RoundTripCase{"Umlauts", "/Daten/Kundenübersicht.vdb", "Jürgen Größe", "/Ä/ö.vdb"},
        RoundTripCase{"Backslashes", "C:\\Daten\\a.vdb", "DOM\\admin", "\\\\server\\b.vdb"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.label; });

TEST(Settings, FailingWriteIsPassedOnAndSkipsTheKeysAfterIt) {
    MemorySettingsStore store;
    store.failAtWrite = 2;
    FakeForm form;
    form.texts[SettingsField::txtDatabase] = "/a.vdb";

    EXPECT_THROW(dbcopy::SaveSettings(store, form), std::runtime_error);
    EXPECT_EQ(store.writes, std::vector<Address>{kSource});
}

TEST(Settings, FailingReadIsPassedOnAfterTheBoxesFilledBeforeIt) {
    UnreadableStore store;
    FakeForm form;
    form.texts[SettingsField::txtUsername] = "vorher";

    EXPECT_THROW(dbcopy::LoadSettings(store, form), std::runtime_error);
    EXPECT_EQ(form.texts[SettingsField::txtDatabase], dbcopy::defaultDatabaseFolder());
    EXPECT_EQ(form.texts[SettingsField::txtUsername], "vorher");
}

}  // namespace
