#pragma once

// What the Windows file services share with the shortcut layer and the Win32 front end.

#include <string>

namespace qb::windows {

// The path as the wide API calls take it: absolute, in the \\?\ form that lifts MAX_PATH.
std::wstring apiPath(const std::string& path);

// path made absolute against the working folder, in its everyday form.
std::wstring absolute(const std::wstring& path);

// A drive that is not ready then fails with an error instead of asking the user in a dialog.
void quietDrives();

// Deletes the file at path; 0, or the error. A file another program holds for a moment (an
// antivirus, the indexer, a sync client) is tried again for up to a second.
unsigned long removeFile(const std::string& path);

}  // namespace qb::windows
