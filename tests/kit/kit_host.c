/* kit_host.c - a host program written from a kit's README.txt and
 * include\IWVestra.h alone, linked with the kit's import library, with the
 * README's iwv_catch.c for the library's structured exception.
 *
 *   kit_host describe OUT_FILE
 *       writes what the DLL answers for properties and parameters, for the
 *       README check (property CODE<TAB>text, parameter INDEX<TAB>key<TAB>
 *       caption<TAB>default<TAB>value|value..., problem<TAB>text);
 *   kit_host stocktake SHOP SAMPLES TERMINAL
 *       sends SAMPLES\goods.txt from SHOP\Data\towary.txt through the
 *       simulated terminal, whose files are in TERMINAL, brings
 *       SAMPLES\inwin.txt back as SHOP\Data\remanent.txt, and checks every
 *       result, callback and file against the README; then the two error
 *       channels. Exits 0 only when every check passed.
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "IWVestra.h"

int iwv_call_caught(IWV_PFN_HSTDLLInwImport operation, IWVestraInstance *instance, IWV_WORD callContext,
                    const char *dataPath, int *result, char *message, int messageSize);

#define TEXT_SIZE 4096
#define FILE_SIZE 65536

/* What the callbacks saw during one operation. */
struct host {
    IWV_WORD expectedCallContext;
    int wrongContexts;
    int statuses;
    char status[TEXT_SIZE];
    int errors;
    char error[TEXT_SIZE];
    char keys[TEXT_SIZE];
};

static int failures;
static int passes;

static void check(int passed, const char *what)
{
    if (passed) {
        ++passes;
    } else {
        ++failures;
        printf("FAILED: %s\n", what);
        fflush(stdout);
    }
}

static void note_contexts(struct host *host, IWV_WORD hostContext, IWV_WORD callContext)
{
    if (hostContext != (IWV_WORD)host || callContext != host->expectedCallContext)
        ++host->wrongContexts;
}

static int IWV_CALL ShowStatus(IWV_WORD hostContext, IWV_WORD callContext, const char *text)
{
    struct host *host = (struct host *)hostContext;
    note_contexts(host, hostContext, callContext);
    ++host->statuses;
    lstrcpynA(host->status, text, TEXT_SIZE);
    return 0;
}

/* The demo's dock: COM2 at 115200; every other parameter at its default. */
static int IWV_CALL GetParameterValue(IWV_WORD hostContext, IWV_WORD callContext, const char *key, char *value)
{
    struct host *host = (struct host *)hostContext;
    note_contexts(host, hostContext, callContext);
    if (host->keys[0] != '\0')
        strcat(host->keys, ",");
    strcat(host->keys, key);
    lstrcpynA(value, strcmp(key, "port") == 0 ? "COM2" : strcmp(key, "baud") == 0 ? "115200" : "",
              IWV_VALUE_BUFFER_SIZE);
    return 0;
}

static int IWV_CALL ReportError(IWV_WORD hostContext, IWV_WORD callContext, const char *text)
{
    struct host *host = (struct host *)hostContext;
    note_contexts(host, hostContext, callContext);
    ++host->errors;
    lstrcpynA(host->error, text, TEXT_SIZE);
    return 0;
}

/* A whole file's bytes; -1 when it cannot be read. */
static long read_file(const char *path, char *bytes)
{
    FILE *file = fopen(path, "rb");
    long size;
    if (file == NULL)
        return -1;
    size = (long)fread(bytes, 1, FILE_SIZE, file);
    fclose(file);
    return size;
}

static int same_files(const char *path, const char *expectedPath)
{
    static char got[FILE_SIZE];
    static char expected[FILE_SIZE];
    long gotSize = read_file(path, got);
    long expectedSize = read_file(expectedPath, expected);
    return gotSize >= 0 && gotSize == expectedSize && memcmp(got, expected, (size_t)gotSize) == 0;
}

static void join(char *path, const char *folder, const char *name)
{
    sprintf(path, "%s\\%s", folder, name);
}

/* An export or import through iwv_catch.c, with the host's records cleared
 * first. Returns 1 when the call returned, 0 when it raised the library's
 * error, whose text is then in message. What it gave goes to the log, so
 * that a failed check can be told apart from a failed operation. */
static int transfer(struct host *host, IWVestraInstance *instance, IWV_PFN_HSTDLLInwImport operation,
                    IWV_WORD callContext, const char *path, int *result, char *message)
{
    int returned;
    memset(host, 0, sizeof *host);
    host->expectedCallContext = callContext;
    returned = iwv_call_caught(operation, instance, callContext, path, result, message, TEXT_SIZE);
    printf("%s %s: %s %d; %d status text(s); %d error(s)%s%s; keys asked: %s\n",
           operation == HSTDLLInwImport ? "import" : "export", path, returned ? "result" : "library error",
           returned ? *result : 0, host->statuses, host->errors, host->errors ? ", the last: " : "", host->error,
           host->keys);
    if (!returned)
        printf("  the library's error: %s\n", message);
    fflush(stdout);
    return returned;
}

static void check_status(const struct host *host, const char *keys)
{
    check(host->statuses == 1 && strcmp(host->status, "\nTransakcja w toku ...") == 0,
          "one status text, a line feed and \"Transakcja w toku ...\"");
    check(strcmp(host->keys, keys) == 0, keys);
    check(host->wrongContexts == 0, "every callback gets the host's context and the call's context");
}

static void run_export(struct host *host, IWVestraInstance *instance, const char *shop, const char *samples,
                       const char *terminal)
{
    char goods[MAX_PATH], path[MAX_PATH], expected[MAX_PATH], message[TEXT_SIZE];
    int result = -1;
    join(goods, shop, "Data\\towary.txt");
    join(expected, samples, "goods.txt");
    check(CopyFileA(expected, goods, FALSE) != 0, "copying samples\\goods.txt into the shop");

    check(transfer(host, instance, HSTDLLInwEksportujTowary, 0x1234, goods, &result, message) == 1,
          "the export returns");
    check(result == 1, "the export's result is 1");
    check_status(host, "port,baud,timeout,dlugosc,cena");
    check(host->errors == 0, "the export reports no error");
    join(path, shop, "inwout.txt");
    join(expected, samples, "inwout.txt");
    check(same_files(path, expected), "the work directory's inwout.txt is samples\\inwout.txt");
    join(path, terminal, "goods.txt");
    check(same_files(path, expected), "the simulated terminal holds the lookup lines as its goods");
}

/* The path of inwin.txt in the one folder under SHOP\archiwum, which must be
 * named as an imported count's: without "_niezaimportowany". */
static void archived_count(char *path, const char *shop)
{
    char pattern[MAX_PATH], folder[MAX_PATH];
    WIN32_FIND_DATAA found;
    int folders = 0;
    join(pattern, shop, "archiwum\\*");
    HANDLE search = FindFirstFileA(pattern, &found);
    check(search != INVALID_HANDLE_VALUE, "the work directory holds archiwum");
    path[0] = '\0';
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.cFileName[0] == '.') continue;
        ++folders;
        join(folder, shop, "archiwum");
        join(path, folder, found.cFileName);
        check(strstr(found.cFileName, "_niezaimportowany") == NULL, "the archive's folder is named as imported");
    } while (FindNextFileA(search, &found));
    FindClose(search);
    check(folders == 1, "one folder in archiwum after one import");
    strcpy(folder, path);
    join(path, folder, "inwin.txt");
}

static void run_import(struct host *host, IWVestraInstance *instance, const char *shop, const char *samples,
                       const char *terminal)
{
    char count[MAX_PATH], path[MAX_PATH], expected[MAX_PATH], message[TEXT_SIZE];
    int result = -1;
    /* The person at the shelves: the scans the terminal will send. */
    join(path, terminal, "counts.txt");
    join(expected, samples, "inwin.txt");
    check(CopyFileA(expected, path, FALSE) != 0, "giving the simulated terminal the scans of samples\\inwin.txt");
    join(count, shop, "Data\\remanent.txt");

    check(transfer(host, instance, HSTDLLInwImport, 0x5678, count, &result, message) == 1, "the import returns");
    check(result == 1, "the import's result is 1");
    check_status(host, "port,baud,timeout");
    check(host->errors == 0, "the import reports no error");
    join(path, shop, "inwin.txt");
    check(GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES, "the work directory keeps no inwin.txt");
    archived_count(path, shop);
    check(same_files(path, expected), "the archive's inwin.txt is samples\\inwin.txt");
    join(expected, samples, "count.txt");
    check(same_files(count, expected), "the count file is samples\\count.txt");
}

/* A goods file that cannot be read ends the export with IWV_LIBRARY_ERROR. */
static void run_library_error(struct host *host, IWVestraInstance *instance, const char *shop)
{
    char goods[MAX_PATH], expected[MAX_PATH + 32], message[TEXT_SIZE];
    int result = -1;
    join(goods, shop, "Data\\missing.txt");
    sprintf(expected, "Cannot open file %s", goods);
    check(transfer(host, instance, HSTDLLInwEksportujTowary, 1, goods, &result, message) == 0,
          "an export of a missing goods file ends with the library's error");
    check(strcmp(message, expected) == 0, "the library's error is \"Cannot open file <goods file>\"");
    check(host->errors == 0, "ReportError is not called for the library's error");
}

/* With no driver where Windows looks, the result is 0 after ReportError, and
 * an import leaves the count file as it was. */
static void run_without_drivers(struct host *host, IWVestraInstance *instance, const char *shop, const char *samples)
{
    char goods[MAX_PATH], count[MAX_PATH], expected[MAX_PATH], message[TEXT_SIZE], system[MAX_PATH];
    char *path = (char *)malloc(32768);
    int result = -1;
    check(path != NULL && GetEnvironmentVariableA("PATH", path, 32768) > 0, "reading PATH");
    GetSystemDirectoryA(system, MAX_PATH);
    SetEnvironmentVariableA("PATH", system);
    join(goods, shop, "Data\\towary.txt");
    join(count, shop, "Data\\remanent.txt");
    join(expected, samples, "count.txt");

    check(transfer(host, instance, HSTDLLInwEksportujTowary, 2, goods, &result, message) == 1 && result == 0,
          "an export without dlookup.exe returns 0");
    check(host->errors == 1 && strcmp(host->error, "B\xb3\xb9" "d uruchomienia driver'a (dlookup.exe).") == 0,
          "ReportError says \"B\xc5\x82\xc4\x85" "d uruchomienia driver'a (dlookup.exe).\"");
    check(transfer(host, instance, HSTDLLInwImport, 3, count, &result, message) == 1 && result == 0,
          "an import without 232_read.exe returns 0");
    check(host->errors == 1 && strcmp(host->error, "B\xb3\xb9" "d uruchomienia driver'a (232_read.exe).") == 0,
          "ReportError says \"B\xc5\x82\xc4\x85" "d uruchomienia driver'a (232_read.exe).\"");
    check(same_files(count, expected), "an import whose driver did not start leaves the count file as it was");
    if (path != NULL)
        SetEnvironmentVariableA("PATH", path);
    free(path);
}

/* The pointer types serve a host that loads the entry points itself. */
static void run_by_address(void)
{
    char name[IWV_PROPERTY_TEXT_SIZE];
    HMODULE dll = GetModuleHandleA("IWVestra.dll");
    IWV_PFN_HSTDLLWlasciwosci properties =
        (IWV_PFN_HSTDLLWlasciwosci)(void (*)(void))GetProcAddress(dll, "HSTDLLWlasciwosci");
    check(properties != NULL && strcmp(properties(name, IWV_PROPERTY_LIBRARY_NAME), "IW_Vestra") == 0,
          "HSTDLLWlasciwosci through GetProcAddress and IWV_PFN_HSTDLLWlasciwosci names the library IW_Vestra");
}

static int stocktake(const char *shop, const char *samples, const char *terminal)
{
    struct host host;
    char data[MAX_PATH];
    IWVestraInstance *instance;
    join(data, shop, "Data");
    CreateDirectoryA(shop, NULL);
    CreateDirectoryA(data, NULL);

    check(HSTDLLTypBiblioteki() == IWV_LIBRARY_TYPE, "HSTDLLTypBiblioteki returns 3");
    instance = HSTDLLRejestrujBiblioteke((IWV_WORD)&host, 0, 0, 0);
    check(instance != NULL, "HSTDLLRejestrujBiblioteke gives an instance");
    if (instance == NULL)
        return 1;
    HSTDLLRejestrujCallback(instance, (void *)ShowStatus, IWV_CALLBACK_SHOW_STATUS);
    HSTDLLRejestrujCallback(instance, (void *)GetParameterValue, IWV_CALLBACK_GET_PARAMETER_VALUE);
    HSTDLLRejestrujCallback(instance, (void *)ReportError, IWV_CALLBACK_REPORT_ERROR);

    run_export(&host, instance, shop, samples, terminal);
    run_import(&host, instance, shop, samples, terminal);
    run_library_error(&host, instance, shop);
    run_without_drivers(&host, instance, shop, samples);
    run_by_address();
    HSTDLLZwolnijBiblioteke(instance);

    printf("kit host: %d checks passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}

/* A text on one line: backslashes and line feeds escaped. */
static void write_text(FILE *out, const char *text)
{
    for (; *text != '\0'; ++text) {
        if (*text == '\\')
            fputs("\\\\", out);
        else if (*text == '\n')
            fputs("\\n", out);
        else
            fputc(*text, out);
    }
}

static void describe_properties(FILE *out)
{
    static const int codes[] = {-1, 0, 1, 2, 3, 300, 301, 302, 303, 304, 305, 306, 307, 308, 309, 1000};
    char buffer[IWV_PROPERTY_TEXT_SIZE + 1];
    size_t i;
    for (i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
        memset(buffer, 'x', sizeof buffer);
        if (HSTDLLWlasciwosci(buffer, codes[i]) != buffer)
            fprintf(out, "problem\tHSTDLLWlasciwosci(buffer, %d) does not return buffer\n", codes[i]);
        fprintf(out, "property\t%d\t", codes[i]);
        write_text(out, buffer);
        fputc('\n', out);
    }
}

static void describe_parameters(FILE *out)
{
    char key[IWV_PARAMETER_TEXT_SIZE], caption[IWV_PARAMETER_TEXT_SIZE], value[IWV_PARAMETER_TEXT_SIZE];
    char fourth[IWV_PARAMETER_TEXT_SIZE], fifth[IWV_PARAMETER_TEXT_SIZE], entry[IWV_PARAMETER_TEXT_SIZE];
    unsigned int index, at;
    for (index = 0; HSTDLLParametr(IWV_PARAMETER_GROUP, index, key, caption, value, fourth, fifth, 0) ==
                    IWV_PARAMETER_DESCRIBED;
         ++index) {
        if (fourth[0] != '\0' || fifth[0] != '\0')
            fprintf(out, "problem\tparameter %u's fourth and fifth texts are not empty\n", index);
        fprintf(out, "parameter\t%u\t%s\t%s\t%s\t", index, key, caption, value);
        for (at = 0; HSTDLLTekstListyParametru(key, at, entry) == 1; ++at)
            fprintf(out, "%s%s", at == 0 ? "" : "|", entry);
        fputc('\n', out);
    }
    if (index != IWV_PARAMETER_COUNT)
        fprintf(out, "problem\t%u parameters, IWVestra.h says %d\n", index, IWV_PARAMETER_COUNT);
    if (HSTDLLParametr(IWV_PARAMETER_GROUP - 1, 0, key, caption, value, fourth, fifth, 0) != 0)
        fprintf(out, "problem\tHSTDLLParametr answers group %d\n", IWV_PARAMETER_GROUP - 1);
}

static int describe(const char *path)
{
    FILE *out = fopen(path, "wb");
    if (out == NULL)
        return 1;
    describe_properties(out);
    describe_parameters(out);
    return fclose(out) == 0 ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "describe") == 0)
        return describe(argv[2]);
    if (argc == 5 && strcmp(argv[1], "stocktake") == 0)
        return stocktake(argv[2], argv[3], argv[4]);
    fputs("usage: kit_host describe OUT_FILE\n"
          "       kit_host stocktake SHOP SAMPLES TERMINAL\n",
          stderr);
    return 2;
}
