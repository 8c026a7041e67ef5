#include "settings/Settings.h"

#include <array>

#include "settings/SettingsForm.h"
#include "settings/SettingsStore.h"

namespace dbcopy {

namespace {

struct RememberedValue {
    const char* key;
    SettingsField field;
    bool isPath;  // default: the database folder; otherwise the administrator's user name
};

// In the order in which both operations process them.
constexpr std::array<RememberedValue, 3> kRemembered{{
    {"SourceDatabase", SettingsField::txtDatabase, true},
    {"UserName", SettingsField::txtUsername, false},
    {"DestDatabase", SettingsField::txtDatabaseDest, true},
}};

std::string defaultFor(const RememberedValue& value) {
    return value.isPath ? defaultDatabaseFolder() : std::string("ADMIN");
}

}  // namespace

std::string defaultDatabaseFolder() {
#if defined(_WIN32)
    return "C:\\ProgramData\\VelDB\\Veltrona CRM 2010";
#elif defined(__APPLE__)
    return "/Library/Application Support/VelDB/Veltrona CRM 2010";
#else
    return "/var/lib/VelDB/Veltrona CRM 2010";
#endif
}

void LoadSettings(SettingsStore& store, SettingsForm& form) {
    for (const RememberedValue& value : kRemembered) {
        form.setSettingText(value.field, store.readSetting(kSettingsApp, kSettingsSection,
                                                           value.key, defaultFor(value)));
    }
}

void SaveSettings(SettingsStore& store, const SettingsForm& form) {
    for (const RememberedValue& value : kRemembered) {
        store.writeSetting(kSettingsApp, kSettingsSection, value.key,
                           form.settingText(value.field));
    }
}

}  // namespace dbcopy
