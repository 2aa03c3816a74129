#pragma once

// Functions of Windows' own libraries, loaded on first need and from the system folder only:
// a library found by its bare name would be looked for in the program's own folder first (a
// Downloads folder, for the portable program), where a planted DLL of that name would run.

#include <windows.h>

namespace qb::windows {

// Called once, first thing: every library loaded by name from here on, by the program or by
// Windows' own libraries for it, comes from the system folder.
void loadLibrariesFromSystemOnly();

// The function called name in the system library, or null when either is missing.
FARPROC systemFunction(const wchar_t* library, const char* name);

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
  // Through void(*)(), so that the compiler does not compare the two signatures.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(systemFunction(library, name)));
}

}  // namespace qb::windows
