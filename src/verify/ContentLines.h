#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "verify/TableContent.h"

namespace dbcopy {

// The German lines of a value-by-value comparison, the same in the window and in `vdb`.

// "Prüfe Kopie Wert für Wert"
std::string contentHeadLine();

// One line per field only one side has ("Kunden: Feld Fax nur in der Quelle, nicht
// verglichen."), then the table's result, e.g. "Kunden: gleich (3000 Datensätze)" or
// "Termine: abweichend – 2 Datensätze, zuerst Nr. 17 (ID 4711), Feld Betreff: „Anruf“ statt
// „Anruff“" (the target's value first, then the source's).
std::vector<std::string> contentTableLines(const TableContent& table);

// The compared tables whose result is not "gleich" ("abweichend" or "fehlt").
std::int64_t differingTables(const std::vector<TableContent>& tables);

// "Prüfung abgeschlossen: alles gleich." or "Prüfung abgeschlossen: N Tabellen abweichend."
std::string contentTotalLine(const std::vector<TableContent>& tables);

// "Prüfung abgebrochen.": after the error report lines of a comparison that could not end.
std::string contentAbortedLine();

}  // namespace dbcopy
