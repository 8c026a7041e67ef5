#pragma once

class QCoreApplication;

namespace dbcopy {

// Installs Qt's own German texts (the "qtbase_de" catalogue from Qt's translations folder) in
// application, whatever the system's locale, so that the file dialogs, their buttons and the
// standard menus speak German like the rest of the window. Returns false, changing nothing, when
// the catalogue is missing or cannot be read; the texts then stay English. Never throws.
bool installGermanTranslations(QCoreApplication& application);

}  // namespace dbcopy
