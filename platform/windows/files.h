#pragma once

// What the Windows file services share with the shortcut layer and the Win32 front end.

#include <string>

namespace qb::windows {

// The path as the wide API calls take it: absolute, in the \\?\ form that lifts MAX_PATH.
std::wstring apiPath(const std::string& path);

// Moves the file at from to the name to, never replacing anything there; 0, or the error. A file
// another program holds for a moment (an antivirus, the indexer, a sync client) is tried again
// for about a tenth of a second in all.
unsigned long moveNew(const std::string& from, const std::string& to);

// Deletes the file at path, waiting up to a second for a program that holds it; 0, or the error.
unsigned long removeFile(const std::string& path);

}  // namespace qb::windows
