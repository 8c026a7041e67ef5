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

std::string foreignDatabase() {
    return "Die Datenbank stammt nicht aus dieser Engine.";
}

std::string createArguments() {
    return "CreateDatabase erwartet die Version 1 und eine ganzzahlige Option.";
}

std::string invalidSchema(std::string_view problem) {
    return "Ungültiges Datenbankschema: " + std::string(problem);
}

std::string transactionOpen() {
    return "Es ist bereits eine Transaktion offen.";
}

std::string invalidTableNumber(std::int32_t position) {
    return "Die Tabellennummer " + std::to_string(position) + " ist ungültig.";
}

std::string invalidFieldNumber(std::int32_t position) {
    return "Die Feldnummer " + std::to_string(position) + " ist ungültig.";
}

std::string invalidIndexNumber(std::int32_t position) {
    return "Die Indexnummer " + std::to_string(position) + " ist ungültig.";
}

std::string indexKeyType() {
    return "Ein Index wird über seinen Namen oder seine Nummer gewählt.";
}

std::string noNewRecord() {
    return "Es wurde kein neuer Datensatz mit AddNew begonnen.";
}

std::string cursorForwardOnly() {
    return "Der Datensatzzeiger kann nur vorwärts bewegt werden.";
}

std::string endOfTable() {
    return "Das Tabellenende ist bereits erreicht.";
}

std::string noCurrentRecord() {
    return "Kein aktueller Datensatz.";
}

std::string valueRefused(std::string_view value, std::string_view field, std::string_view why) {
    return "Der Wert " + std::string(value) + " passt nicht in das Feld " + quoted(field) + ": " +
           std::string(why);
}

std::string duplicateValue(std::string_view detail) {
    return "Ein eindeutiger Index würde einen Wert doppelt enthalten: " + std::string(detail);
}

std::string recordKeyExists(std::string_view table, std::string_view index) {
    return "Der Datensatz wurde nicht gespeichert: der eindeutige Index " + quoted(index) +
           " der Tabelle " + quoted(table) + " enthält diesen Schlüssel bereits.";
}

std::string recordKeyExists(std::string_view table) {
    return "Der Datensatz wurde nicht gespeichert: ein eindeutiger Index der Tabelle " +
           quoted(table) + " enthält diesen Schlüssel bereits.";
}

std::string rebuildDuplicates(std::string_view table, std::string_view index,
                              std::string_view keys) {
    return "Der eindeutige Index " + quoted(index) + " der Tabelle " + quoted(table) +
           " kann nicht aufgebaut werden, weil Schlüssel mehrfach vorkommen: " + std::string(keys) +
           ". Der Index bleibt bis zu einem erfolgreichen Neuaufbau ausgesetzt.";
}

}  // namespace engine::sqlite::messages
