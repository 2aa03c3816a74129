#pragma once

// What the Windows services share with the rest of the Windows build (the shell-link layer and
// the Win32 front end): text conversion at the API edge and the rules for names.

#include <objbase.h>

#include <string>

#include "platform/error.h"

namespace qb::files::win {

std::wstring widen(const std::string& text);
std::string narrow(const std::wstring& text);
// The path as the wide API calls take it: absolute, in the \\?\ form that lifts MAX_PATH.
std::wstring apiPath(const std::string& path);
// Why Windows would refuse or silently change name (reserved device names, a trailing dot or
// space, < > : " / \ | ? * and control characters), or empty text when it takes it as it is.
std::string nameProblem(const std::string& name);
// The system's own words for code, about path.
PlatformError systemError(const std::string& path, unsigned long code);

// COM, from ole32 loaded on first use: importing it would add its loading to every start of the
// program, before step 1's window, for the shortcut and the path box's completion only.
struct Com {
  decltype(&CoInitializeEx) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) create = nullptr;
};
// Null when ole32 cannot be loaded.
const Com* com();

}  // namespace qb::files::win
