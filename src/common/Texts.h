#pragma once

// Every text the library shows the operator, hands the host or writes into
// its journal, in one place: Polish, in Windows-1250. The first words of the
// file errors ("Cannot open file " and the like) stay as hosts have always
// received them, since hosts may match on them.

#include "common/Cp1250.h"

namespace iwv::text {

// To the operator, through the host.
inline constexpr auto kTransactionStatus = Cp1250("\nTransakcja w toku ...");
inline constexpr auto kExportStartFailure = Cp1250("Błąd uruchomienia driver'a (dlookup.exe).");
inline constexpr auto kImportStartFailure = Cp1250("Błąd uruchomienia driver'a (232_read.exe).");
inline constexpr auto kConnectionFailed = Cp1250("Nie udało się nawiązac połączenia !");
// Around the work directory's path.
inline constexpr auto kBusy = Cp1250("Inna wymiana danych z inwentaryzatorem trwa w folderze ");
inline constexpr auto kBusyEnd = Cp1250(". Spróbuj ponownie, gdy się zakończy.");

// Errors that end an operation, followed by the path at fault.
inline constexpr auto kCannotOpen = Cp1250("Cannot open file ");
inline constexpr auto kCannotCreate = Cp1250("Cannot create file ");
inline constexpr auto kCannotWrite = Cp1250("Cannot write file ");
// After "Cannot write file <count file>", where the count file holds neither
// count: where the whole new one lies, and the old one when the archive does
// not hold it.
inline constexpr auto kNewFileKeptIn = Cp1250("; pełny nowy plik zachowano w ");
inline constexpr auto kOldFileKeptIn = Cp1250(", a poprzedni w ");
inline constexpr auto kOutOfMemory = Cp1250("Brak pamięci");
inline constexpr auto kUnexpectedError = Cp1250("Nieoczekiwany błąd");

// The journal, iwvestra.log: an entry's heading is the time, the event and
// the data file's path.
inline constexpr auto kExportBegins = Cp1250("początek wysyłki");
inline constexpr auto kExportEnds = Cp1250("koniec wysyłki");
inline constexpr auto kImportBegins = Cp1250("początek odczytu");
inline constexpr auto kImportEnds = Cp1250("koniec odczytu");
// Each line of an entry: its label, ": " and what it says.
inline constexpr auto kPlugIn = Cp1250("wtyczka");
inline constexpr auto kBits32 = Cp1250("32-bitowa");
inline constexpr auto kBits64 = Cp1250("64-bitowa");
inline constexpr auto kSettings = Cp1250("ustawienia");
inline constexpr auto kNotInTheList = Cp1250(" spoza listy, więc ");
inline constexpr auto kNoCode = Cp1250("sterownik bez kodu");
inline constexpr auto kTimeout = Cp1250("czas oczekiwania");
inline constexpr auto kPolls = Cp1250(" odpytań co 100 ms");
inline constexpr auto kCommandLine = Cp1250("polecenie");
inline constexpr auto kDriver = Cp1250("sterownik");
inline constexpr auto kDriverEnded = Cp1250("zakończył pracę z kodem ");
inline constexpr auto kAfter = Cp1250(" po ");
inline constexpr auto kMilliseconds = Cp1250(" ms");
inline constexpr auto kDriverKilled = Cp1250("przerwany po upływie czasu oczekiwania, po ");
inline constexpr auto kDriverNotStarted = Cp1250("nie dał się uruchomić");
inline constexpr auto kDriverNotFound = Cp1250("Windows nie znajduje go w miejscach, w których szuka programów");
inline constexpr auto kLines = Cp1250("wiersze");
inline constexpr auto kGoodsLines = Cp1250("w pliku towarów ");
inline constexpr auto kLookupLines = Cp1250(", w pliku dla inwentaryzatora ");
inline constexpr auto kNoLookupFile = Cp1250(" (pliku dla inwentaryzatora nie zapisano)");
inline constexpr auto kTerminalLines = Cp1250("z inwentaryzatora ");
inline constexpr auto kCountLines = Cp1250(", w pliku spisu ");
inline constexpr auto kNotInTheCountFile = Cp1250(" (nie trafiły do pliku spisu)");
inline constexpr auto kSkipped = Cp1250(", pominięte ");
inline constexpr auto kWrongFieldCount = Cp1250(" (zła liczba pól ");
inline constexpr auto kNothingCounted = Cp1250(", ilość „00000” ");
inline constexpr auto kNoQuantity = Cp1250(", bez ilości ");
inline constexpr auto kTerminalCount = Cp1250("spis z inwentaryzatora");
inline constexpr auto kCountImported = Cp1250("w pliku spisu, kopia w ");
inline constexpr auto kCountWaitsIn = Cp1250("nie trafił do pliku spisu, czeka w ");
inline constexpr auto kNoTerminalData = Cp1250("sterownik nie zostawił pliku ");
inline constexpr auto kCountFileUnchanged = Cp1250("; plik spisu bez zmian");
inline constexpr auto kNote = Cp1250("uwaga");
inline constexpr auto kEarlierCountSetAside =
    Cp1250("wcześniejszy spis z inwentaryzatora, nigdy nie zaimportowany, przeniesiono do ");
inline constexpr auto kStillMarkedNotImported =
    Cp1250("spis zaimportowano, ale jego folder w archiwum pozostał oznaczony jako niezaimportowany: ");
inline constexpr auto kResult = Cp1250("wynik");
inline constexpr auto kFailure = Cp1250("błąd");
inline constexpr auto kSystemError = Cp1250("błąd systemu ");

}  // namespace iwv::text
