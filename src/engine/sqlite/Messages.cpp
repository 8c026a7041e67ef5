#include "engine/sqlite/Messages.h"

namespace engine::sqlite::messages {

std::string fileNotFound(const std::string& path) {
    return "Die Datei " + quoted(path) + " wurde nicht gefunden.";
}

std::string notADatabase(const std::string& path) {
    if (path.empty()) return "Die Datenbankdatei ist beschädigt oder keine Veltrona-Datenbank.";
    return "Die Datei " + quoted(path) + " ist keine Veltrona-Datenbank oder ist beschädigt.";
}

std::string accessDenied() {
    return "Benutzername oder Kennwort ist falsch.";
}

std::string fileLocked(const std::string& path) {
    if (path.empty()) return "Die Datenbank wird gerade von einem anderen Prozess gesperrt.";
    return "Die Datei " + quoted(path) + " wird gerade von einem anderen Prozess gesperrt.";
}

std::string needsRecovery(const std::string& path) {
    return "Die Datei " + quoted(path) +
           " wurde beim letzten Schreiben nicht sauber geschlossen und muss wiederhergestellt "
           "werden. Reparieren Sie sie mit „vdb repair DATEI“.";
}

std::string fileExists(const std::string& path) {
    return "Die Datei " + quoted(path) + " ist bereits vorhanden.";
}

std::string readOnly() {
    return "Die Datenbank ist schreibgeschützt geöffnet; Änderungen sind nicht möglich.";
}

std::string cannotCreate(const std::string& path, std::string_view reason) {
    return "Die Datei " + quoted(path) + " konnte nicht angelegt werden: " + std::string(reason);
}

std::string ioError(std::string_view detail) {
    return "Lese- oder Schreibfehler in der Datenbank: " + std::string(detail);
}

std::string diskFull() {
    return "Der Datenträger ist voll; die Daten konnten nicht geschrieben werden.";
}

std::string noSuchTable(std::string_view name) {
    return "Die Tabelle " + quoted(name) + " ist nicht vorhanden.";
}

std::string noSuchField(std::string_view table, std::string_view field) {
    return "Das Feld " + quoted(field) + " ist in der Tabelle " + quoted(table) +
           " nicht vorhanden.";
}

std::string noSuchIndex(std::string_view table, std::string_view key) {
    return "Der Index " + quoted(key) + " ist in der Tabelle " + quoted(table) +
           " nicht vorhanden.";
}

std::string databaseClosed() {
    return "Die Datenbank ist bereits geschlossen; ihre Objekte sind nicht mehr verwendbar.";
}

std::string engineBusy() {
    return "Die Datenbank-Engine arbeitet noch an einem anderen Aufruf und nimmt währenddessen "
           "keinen weiteren an.";
}

}  // namespace engine::sqlite::messages
