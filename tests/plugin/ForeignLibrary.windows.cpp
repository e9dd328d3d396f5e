// A DLL built the way the plug-in must not be: a decorated stdcall export, an
// import from a non-system DLL, no ASLR, no DEP and no version resource. The
// binary check must reject it on every count.
extern "C" __declspec(dllimport) int ForeignValue();

extern "C" __declspec(dllexport) int __attribute__((stdcall)) HSTDLLTypBiblioteki() { return ForeignValue(); }
