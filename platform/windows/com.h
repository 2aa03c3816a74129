#pragma once

// COM, from ole32 loaded on first use: importing it would add its loading to every start of the
// program, before step 1's window, for the shortcut, the path box's completion and the shell's
// folders only.

#include <objbase.h>
#include <shlobj.h>

namespace qb::windows {

struct Com {
  decltype(&CoInitializeEx) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) create = nullptr;
  decltype(&CoTaskMemFree) free = nullptr;
  // From shell32, which the program has loaded already: the ID list that names a path as it is,
  // and its release. Null when shell32 lacks them.
  decltype(&ILCreateFromPathW) idList = nullptr;
  decltype(&ILFree) freeIdList = nullptr;
};

// Null when ole32 cannot be loaded.
const Com* com();

}  // namespace qb::windows
