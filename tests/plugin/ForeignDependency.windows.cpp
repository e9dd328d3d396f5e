// A DLL that no Windows system provides: a library importing it could not be
// shipped on its own.
extern "C" __declspec(dllexport) int ForeignValue() { return 7; }
