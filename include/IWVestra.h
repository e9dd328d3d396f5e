/*
 * IWVestra.h - the host's interface to IWVestra.dll, the inventory-terminal
 * plug-in for a CipherLab terminal in an RS232 dock.
 *
 * The host either links with the import library of its kit (lib\IWVestra.lib
 * for MSVC, lib\libIWVestra.dll.a for MinGW) and calls the ten entry points
 * below by name, or loads the DLL (LoadLibrary) and finds them by name or
 * ordinal (GetProcAddress); each entry point has a pointer type,
 * IWV_PFN_<name>, for the second way. It calls them on one thread at a time
 * per instance. Every text that crosses the interface is a NUL-terminated
 * Windows-1250 byte text. The library never learns the size of a host buffer;
 * each entry point says the longest text it writes.
 *
 * There are two DLLs, one per host architecture, with the same entry points,
 * ordinals, texts and behaviour; a host loads the one of its own bitness:
 *
 *   host      DLL                    IWV_WORD, pointers   calling convention
 *   32-bit    IWVestra.dll (win32)   32 bits              __stdcall
 *   64-bit    IWVestra.dll (win64)   64 bits              the x64 convention
 *
 * A host written against this header builds for both without change.
 *
 * This header is plain C89 and C++; it needs no other header.
 */
#ifndef IWVESTRA_H
#define IWVESTRA_H

/* The calling convention of every entry point and callback. On 32-bit
 * Windows it is __stdcall: the called function removes its arguments. x64
 * Windows has a single calling convention; compilers accept __stdcall there
 * and ignore it, so the same declarations serve both. Define IWV_CALL before
 * including this header only to build the library's code for another
 * platform. */
#ifndef IWV_CALL
#define IWV_CALL __stdcall
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A host value that the library hands back and never reads (HostContext,
 * CallContext). As wide as a pointer, so that a host may pass the address of
 * its own state: 32 bits for the 32-bit DLL, 64 bits for the 64-bit one
 * (unsigned long is 32 bits on 64-bit Windows). */
#if defined(_WIN64) && defined(__GNUC__)
/* MinGW and clang know __int64 only from <windows.h>; __extension__ keeps a
 * strict C89 build quiet about long long. */
__extension__ typedef unsigned long long IWV_WORD;
#elif defined(_WIN64)
typedef unsigned __int64 IWV_WORD;
#else
typedef unsigned long IWV_WORD;
#endif

/* One registration of a host with the library, made by
 * HSTDLLRejestrujBiblioteke and freed by HSTDLLZwolnijBiblioteke. Opaque. */
typedef struct IWVestraInstance IWVestraInstance;

/* Callback kind 2: shows the operator a status text. Its result is ignored. */
typedef int(IWV_CALL *IWV_ShowStatus)(IWV_WORD hostContext, IWV_WORD callContext, const char *text);

/* Callback kind 6: writes the value of the parameter named key, NUL-terminated,
 * into value (IWV_VALUE_BUFFER_SIZE bytes, the NUL included); the empty text
 * when the host holds none. Its result is ignored. */
typedef int(IWV_CALL *IWV_GetParameterValue)(IWV_WORD hostContext, IWV_WORD callContext, const char *key,
                                             char *value);

/* Callback kind 7: reports that the driver program could not be started. The
 * operation then returns 0. Its result is ignored. */
typedef int(IWV_CALL *IWV_ReportError)(IWV_WORD hostContext, IWV_WORD callContext, const char *text);

/* The kinds HSTDLLRejestrujCallback takes; any other kind is ignored. */
#define IWV_CALLBACK_SHOW_STATUS 2
#define IWV_CALLBACK_GET_PARAMETER_VALUE 6
#define IWV_CALLBACK_REPORT_ERROR 7

/* HSTDLLTypBiblioteki's answer: an inventory device. */
#define IWV_LIBRARY_TYPE 3

/* The parameter group HSTDLLParametr describes; it answers 0 for others. */
#define IWV_PARAMETER_GROUP 301
/* HSTDLLParametr's result for a parameter it described. */
#define IWV_PARAMETER_DESCRIBED 2
/* The number of parameters, indexed from 0. */
#define IWV_PARAMETER_COUNT 5

/* Room the library gives GetParameterValue for a value, the NUL included. */
#define IWV_VALUE_BUFFER_SIZE 300
/* Room a host buffer needs for any text of HSTDLLParametr or
 * HSTDLLTekstListyParametru, the NUL included. */
#define IWV_PARAMETER_TEXT_SIZE 13
/* Room a host buffer needs for any text of HSTDLLWlasciwosci, the NUL included. */
#define IWV_PROPERTY_TEXT_SIZE 158

/* Property codes of HSTDLLWlasciwosci. Besides these four, code 301 answers
 * "1", code 304 the empty text, each of the codes 305, 306, 307 and 308 "0",
 * and every other code the empty text. */
#define IWV_PROPERTY_DEVICE_LABEL 1   /* "Vestrak-L CipherLab" */
#define IWV_PROPERTY_LIBRARY_NAME 2   /* "IW_Vestra" */
#define IWV_PROPERTY_IMPORT_PROMPT 302 /* what to do on the terminal before an import */
#define IWV_PROPERTY_EXPORT_PROMPT 303 /* what to do on the terminal before an export */

/* The Windows structured exception that ends an export or import instead of a
 * result when a file cannot be read or written, or the driver ran past its
 * time-out. EXCEPTION_NONCONTINUABLE; ExceptionInformation[0] is the address
 * of the message, a NUL-terminated Windows-1250 text valid until the next
 * error raised on the same thread. Everything the call held is released
 * before it is raised. The same on both architectures: an MSVC host catches
 * it with __try/__except, a Delphi host with try/except; the kit's README.txt
 * shows these and the code a MinGW host needs. */
#define IWV_LIBRARY_ERROR 0xE0495756UL

/* Ordinal 1. Returns IWV_LIBRARY_TYPE. */
int IWV_CALL HSTDLLTypBiblioteki(void);
typedef int(IWV_CALL *IWV_PFN_HSTDLLTypBiblioteki)(void);

/* Ordinal 2. Creates an instance that hands hostContext to every callback. The
 * other three words are ignored. NULL when no memory is left. */
IWVestraInstance *IWV_CALL HSTDLLRejestrujBiblioteke(IWV_WORD hostContext, IWV_WORD reserved1, IWV_WORD reserved2,
                                                     IWV_WORD reserved3);
typedef IWVestraInstance *(IWV_CALL *IWV_PFN_HSTDLLRejestrujBiblioteke)(IWV_WORD hostContext, IWV_WORD reserved1,
                                                                         IWV_WORD reserved2, IWV_WORD reserved3);

/* Ordinal 3. Frees an instance. NULL is ignored. */
void IWV_CALL HSTDLLZwolnijBiblioteke(IWVestraInstance *instance);
typedef void(IWV_CALL *IWV_PFN_HSTDLLZwolnijBiblioteke)(IWVestraInstance *instance);

/* Ordinal 4. Registers a callback of one of the IWV_CALLBACK_ kinds. A later
 * registration of the same kind replaces the earlier one. */
void IWV_CALL HSTDLLRejestrujCallback(IWVestraInstance *instance, void *function, int kind);
typedef void(IWV_CALL *IWV_PFN_HSTDLLRejestrujCallback)(IWVestraInstance *instance, void *function, int kind);

/* Ordinal 5. For group IWV_PARAMETER_GROUP and index 0 to 4, writes the
 * parameter's key, caption, default value and two empty texts and returns
 * IWV_PARAMETER_DESCRIBED. Otherwise it returns 0 and writes nothing. */
int IWV_CALL HSTDLLParametr(int group, unsigned int index, char *key, char *caption, char *defaultValue,
                            char *fourth, char *fifth, IWV_WORD reserved);
typedef int(IWV_CALL *IWV_PFN_HSTDLLParametr)(int group, unsigned int index, char *key, char *caption,
                                              char *defaultValue, char *fourth, char *fifth, IWV_WORD reserved);

/* Ordinal 6. Writes entry index of the value list of key (compared
 * case-sensitively) and returns 1, or 0, writing nothing, past the list. */
int IWV_CALL HSTDLLTekstListyParametru(const char *key, unsigned int index, char *buffer);
typedef int(IWV_CALL *IWV_PFN_HSTDLLTekstListyParametru)(const char *key, unsigned int index, char *buffer);

/* Ordinal 7. Writes the text of a property code (IWV_PROPERTY_) and returns
 * buffer. */
char *IWV_CALL HSTDLLWlasciwosci(char *buffer, int code);
typedef char *(IWV_CALL *IWV_PFN_HSTDLLWlasciwosci)(char *buffer, int code);

/* Ordinal 8. Writes the terminal's lookup file from the goods file at
 * dataPath and runs dlookup.exe. 1 when the driver ended, 0 when it could not
 * be started (after ReportError). It may end with IWV_LIBRARY_ERROR instead. */
int IWV_CALL HSTDLLInwEksportujTowary(IWVestraInstance *instance, IWV_WORD callContext, const char *dataPath);
typedef int(IWV_CALL *IWV_PFN_HSTDLLInwEksportujTowary)(IWVestraInstance *instance, IWV_WORD callContext,
                                                        const char *dataPath);

/* Ordinal 9. Waits one second and returns 1. Both words are ignored. */
int IWV_CALL HSTDLLInwZeruj(IWV_WORD reserved1, IWV_WORD reserved2);
typedef int(IWV_CALL *IWV_PFN_HSTDLLInwZeruj)(IWV_WORD reserved1, IWV_WORD reserved2);

/* Ordinal 10. Runs 232_read.exe and replaces the count file at dataPath with
 * the count it left. 1 when the driver ended (whether or not a count
 * arrived), 0 when it could not be started (after ReportError). It may end with
 * IWV_LIBRARY_ERROR instead. */
int IWV_CALL HSTDLLInwImport(IWVestraInstance *instance, IWV_WORD callContext, const char *dataPath);
typedef int(IWV_CALL *IWV_PFN_HSTDLLInwImport)(IWVestraInstance *instance, IWV_WORD callContext,
                                               const char *dataPath);

#ifdef __cplusplus
}
#endif

#endif /* IWVESTRA_H */
