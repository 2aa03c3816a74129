#pragma once

// What the Windows file services share with the shortcut layer and the Win32 front end.

#include <string>

namespace qb::windows {

// The path as the wide API calls take it: absolute, in the \\?\ form that lifts MAX_PATH.
std::wstring apiPath(const std::string& path);

}  // namespace qb::windows
