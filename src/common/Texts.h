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

// The set-up check of iwvestra.exe, for the technician: its report's labels,
// and its problems and notes, each %s filled in turn.
namespace check {

inline constexpr auto kDataPath = Cp1250("plik danych");
inline constexpr auto kWorkDirectory = Cp1250("katalog roboczy");
inline constexpr auto kEmpty = Cp1250("(pusty)");
inline constexpr auto kDriveRoot = Cp1250(" (katalog główny dysku)");
inline constexpr auto kLookupFile = Cp1250("plik dla inwentaryzatora");
inline constexpr auto kTerminalDataFile = Cp1250("plik z inwentaryzatora");
inline constexpr auto kCountFile = Cp1250("plik spisu");
inline constexpr auto kJournal = Cp1250("dziennik");
inline constexpr auto kArchive = Cp1250("archiwum");
inline constexpr auto kArchiveTally = Cp1250("%s (odczyty zaimportowane: %s, niezaimportowane: %s)");
inline constexpr auto kExportCommand = Cp1250("polecenie wysyłki");
inline constexpr auto kImportCommand = Cp1250("polecenie odczytu");
inline constexpr auto kTimeoutValue = Cp1250("%s min (%s odpytań co 100 ms)");
inline constexpr auto kNames = Cp1250("nazwy towarów");
inline constexpr auto kNameLength = Cp1250("%s znaków");
inline constexpr auto kPrice = Cp1250("cena");
inline constexpr auto kRetail = Cp1250("detaliczna");
inline constexpr auto kPurchase = Cp1250("zakupu");
inline constexpr auto kLibraryHere = Cp1250("%s-bitowa, w tym folderze");
inline constexpr auto kHostProgram = Cp1250("program sprzedażowy");
inline constexpr auto kProgramBits = Cp1250("%s, %s-bitowy");
inline constexpr auto kNoProgram = Cp1250("brak w tym folderze");

inline constexpr auto kProblem = Cp1250("PROBLEM: ");
inline constexpr auto kNotice = Cp1250("UWAGA: ");
inline constexpr auto kNoProblems = Cp1250("nie znaleziono problemów");
inline constexpr auto kProblems = Cp1250("liczba problemów: %s");

inline constexpr auto kCodeNotInList = Cp1250(
    "--%s „%s” nie jest żadną z wartości %s: sterowniki dostaną polecenia „%s” i „%s”, bez kodu, który "
    "wskazałby %s");
inline constexpr auto kPortWord = Cp1250("port");
inline constexpr auto kBaudWord = Cp1250("prędkość");
inline constexpr auto kValueNotInList =
    Cp1250("--%s „%s” nie jest żadną z wartości %s: wtyczka przyjmie wartość domyślną %s");
inline constexpr auto kDriverNotFound = Cp1250(
    "Windows nie znajduje programu %s w miejscach, w których szuka programów; skopiuj go do folderu programu "
    "sprzedażowego");
inline constexpr auto kFewBackslashes = Cp1250(
    "ścieżka pliku danych ma mniej niż dwa ukośniki odwrotne, więc katalog roboczy jest pusty i sterowników nie "
    "da się uruchomić");
inline constexpr auto kWorkMissing = Cp1250("katalog roboczy %s nie istnieje");
inline constexpr auto kWorkNotWritable = Cp1250("w katalogu roboczym %s nie można zapisywać%s");
inline constexpr auto kWorkTooLong = Cp1250(
    "katalog roboczy %s ma %s znaków: Windows nie uruchamia programu w folderze dłuższym niż %s znaków");
inline constexpr auto kDataMissing = Cp1250("folder pliku danych %s nie istnieje");
inline constexpr auto kDataNotWritable =
    Cp1250("w folderze pliku danych %s nie można zapisywać%s: odczyt nie zapisze tam pliku spisu");
inline constexpr auto kArchiveNotFolder = Cp1250("w miejscu archiwum %s leży plik, a nie folder");
inline constexpr auto kArchiveNotWritable =
    Cp1250("w archiwum %s nie można zapisywać%s: odczyt skończy się błędem, zanim zmieni plik spisu");
inline constexpr auto kLockInTheWay = Cp1250(
    "w miejscu pliku blokady %s leży folder albo plik tylko do odczytu: każda wysyłka i każdy odczyt skończy się "
    "błędem");
inline constexpr auto kGoodsMissing =
    Cp1250("plik towarów %s nie istnieje: wysyłka skończy się błędem „Cannot open file”");
inline constexpr auto kGoodsUnreadable =
    Cp1250("pliku towarów %s nie można odczytać%s: wysyłka skończy się błędem „Cannot open file”");
inline constexpr auto kCountReadOnly =
    Cp1250("plik spisu %s jest tylko do odczytu: odczyt skończy się błędem „Cannot create file”");
inline constexpr auto kCountFolderMissing = Cp1250("folder pliku spisu %s nie istnieje");
inline constexpr auto kCountFolderNotWritable = Cp1250("w folderze pliku spisu %s nie można zapisywać%s");
inline constexpr auto kHostNotAProgram = Cp1250("--host %s nie jest 32- ani 64-bitowym programem Windows");
inline constexpr auto kLibraryDoesNotFit = Cp1250(
    "IWVestra.dll jest %s-bitowa, a program sprzedażowy %s jest %s-bitowy: zainstaluj IWVestra.dll z paczki "
    "%s");
inline constexpr auto kLibraryFitsNoProgram = Cp1250(
    "IWVestra.dll jest %s-bitowa, a żaden program w tym folderze nie jest %s-bitowy: zainstaluj IWVestra.dll "
    "z paczki %s albo wskaż program sprzedażowy opcją --host");
inline constexpr auto kProgramsOfBothKinds =
    Cp1250("w tym folderze są programy 32- i 64-bitowe; wskaż program sprzedażowy opcją --host");
inline constexpr auto kEarlierCountWaits = Cp1250(
    "w katalogu roboczym czeka %s, spis z inwentaryzatora, którego żaden odczyt nie zaimportował; następny "
    "odczyt przeniesie go do archiwum");

}  // namespace check

}  // namespace iwv::text
