#pragma once

#include <string>

namespace dbcopy {

class SettingsForm;
class SettingsStore;

// The application name under which the settings are kept: the program's title.
inline const std::string kSettingsApp = "VeltronaDBCopy";
// The one section that holds every remembered value.
inline const std::string kSettingsSection = "Startup";

// The default of both database paths: the platform's folder of the CRM's shared data.
std::string defaultDatabaseFolder();

// Fills txtDatabase, txtUsername and txtDatabaseDest, in this order, from the keys
// "SourceDatabase", "UserName" and "DestDatabase", each with its default when the key is missing.
// A failing read is passed on; the boxes filled before it keep their new text.
void LoadSettings(SettingsStore& store, SettingsForm& form);

// Writes the current texts of the three boxes, unchanged, under the same keys in the same order.
// Nothing else (no password, no option) is written. A failing write is passed on and the keys
// after it are not written.
void SaveSettings(SettingsStore& store, const SettingsForm& form);

}  // namespace dbcopy
