#pragma once

// What a path leads to as Windows opens it, following links: whether there is anything at all,
// whether a link leads to a folder or nowhere, where it finally leads, and which folder a path
// is. Paths are in the \\?\ form unless said otherwise.

#include <windows.h>

#include <string>

namespace qb::windows {

// Whether the error means that nothing of that name is there.
bool isNothingThere(DWORD error);

// Opens what path leads to, following links; the error when that fails, otherwise 0.
DWORD openTarget(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info);

// Whether a link at path leads to a folder that is there.
bool leadsToFolder(const std::wstring& path);

// Why path is a link that leads nowhere: its target is missing (an error of isNothingThere), or
// links lead round in a loop (ERROR_CANT_RESOLVE_FILENAME); 0 for anything else.
DWORD brokenLink(const std::wstring& path);
bool isDanglingLink(const std::wstring& path);

// Where the link at path finally leads, in the everyday form; empty text when that cannot be
// told.
std::wstring finalPath(const std::wstring& path);

// path (absolute, in the everyday form) with its names spelled as the file system spells them.
std::wstring spelledOnDisk(const std::wstring& path);

// Whether a and b lead to one and the same folder, following links.
bool sameFolder(const std::wstring& a, const std::wstring& b);

}  // namespace qb::windows
