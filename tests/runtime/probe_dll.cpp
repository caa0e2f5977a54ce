// A tiny library for the external-function table tests. The build makes several copies that
// differ only in PROBE_VALUE, so a test can tell which file a binding loaded.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI ProbeValue() { return PROBE_VALUE; }

#ifdef PROBE_EXTRA
// Only the copy outside the program directory has this: binding it must not pass over the
// program directory's copy that lacks it.
extern "C" __declspec(dllexport) int WINAPI OnlyElsewhere() { return PROBE_VALUE; }
#endif

#ifdef PROBE_SKIN
// Stands in for the skin engine's entry so entry 10 of the program's table can be bound and
// released in a test; it is never called with real arguments.
extern "C" __declspec(dllexport) int WINAPI SkinH_AttachRes() { return PROBE_VALUE; }
#endif
