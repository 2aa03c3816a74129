// Windows, through the wide functions only: UTF-8 text becomes UTF-16 at each call and back.
// Absolute paths reach Windows in the \\?\ form, which has no MAX_PATH limit and takes each
// name literally, so a folder called "CON" or "name." is never mistaken for something else.

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/catalogue.h"
#include "platform/faults.h"
#include "platform/files.h"
#include "platform/files_os.h"
#include "platform/windows/files.h"
#include "platform/windows/links.h"
#include "platform/windows/names.h"
#include "platform/windows/paths.h"
#include "platform/windows/text.h"

namespace qb::files {

const char kSeparator = '\\';
const char kSeparators[] = "\\/";

using windows::absolute;
using windows::apiPath;
using windows::extended;
using windows::finalPath;
using windows::isDanglingLink;
using windows::isNothingThere;
using windows::isSeparator;
using windows::leadsToFolder;
using windows::openTarget;
using windows::plain;
using windows::quietDrives;
using windows::rootLength;
using windows::spelledOnDisk;
using windows::splitLast;
using windows::systemError;
using windows::utf8;
using windows::wide;

namespace {

// A find would read these as wildcards and report whatever matched them.
void refuseWildcards(const std::string& path) {
  const std::size_t start = path.compare(0, 4, "\\\\?\\") == 0 ? 4 : 0;
  const std::size_t at = path.find_first_of("*?<>\"", start);
  if (at != std::string::npos) throw PlatformError(path, windows::forbiddenCharacter(path[at]));
}

// Why the folder (in the \\?\ form) cannot be listed, or 0 when it can.
DWORD listingError(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const std::wstring pattern = folder + (folder.back() == L'\\' ? L"*" : L"\\*");
  const HANDLE find =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;  // an empty drive has no "." either
  }
  FindClose(find);
  return 0;
}

bool lessWide(const std::wstring& a, const std::wstring& b) {
  const int order = CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                         static_cast<int>(b.size()), TRUE);
  return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
}

}  // namespace

std::string lookup(const std::string& path) {
  if (path.empty()) return {};
  refuseWildcards(path);
  quietDrives();
  const std::wstring full = absolute(wide(path));
  const std::size_t root = rootLength(full);
  if (root > 0 && root == full.size()) {
    if (GetFileAttributesW(extended(full).c_str()) != INVALID_FILE_ATTRIBUTES) return utf8(full);
    const DWORD error = GetLastError();
    if (isNothingThere(error)) return {};
    throw systemError(path, error);
  }
  WIN32_FIND_DATAW data;
  const HANDLE find = faults::failed(faults::Call::Look, path)
                          ? INVALID_HANDLE_VALUE
                          : FindFirstFileW(extended(full).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (isNothingThere(error)) return {};  // a path through a file included
    // A link whose target is missing, as wine shows one: something is there all the same.
    if (error == ERROR_NO_MORE_FILES) return splitLast(path).second;
    throw systemError(path, error);
  }
  FindClose(find);
  return utf8(data.cFileName);
}

Entry entryAt(const std::string& path) {
  if (path.empty()) return Entry::None;
  refuseWildcards(path);
  const std::wstring full = apiPath(path);
  const DWORD attributes = faults::failed(faults::Call::Look, path)
                               ? INVALID_FILE_ATTRIBUTES
                               : GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (isNothingThere(error)) return isDanglingLink(full) ? Entry::Other : Entry::None;
    if (error == ERROR_CANT_RESOLVE_FILENAME) return Entry::Other;  // links in a loop
    throw systemError(path, error);
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Entry::Other;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return Entry::Folder;
  return leadsToFolder(full) ? Entry::Folder : Entry::Other;  // a dangling link is no folder
}

namespace os {

std::pair<std::string, std::string> splitLast(const std::string& path) {
  return windows::splitLast(path);
}

std::string nameProblem(const std::string& name) {
  return windows::nameProblem(name);
}

std::string brokenLink(const std::string& path) {
  const DWORD error = windows::brokenLink(apiPath(path));
  return error == 0 ? "" : error == ERROR_CANT_RESOLVE_FILENAME ? linkLoop() : danglingLink();
}

PlatformError alreadyThere(const std::string& path) {
  return systemError(path, ERROR_ALREADY_EXISTS);
}

void createFolder(const std::string& path) {
  const auto [dropped, why] = windows::pathProblem(path);
  if (!dropped.empty()) throw PlatformError(dropped, why);
  if (faults::failed(faults::Call::Make, path) ||
      !CreateDirectoryW(apiPath(path).c_str(), nullptr)) {
    throw systemError(path, GetLastError(), true);
  }
}

}  // namespace os

bool isAbsolute(const std::string& path) {
  return rootLength(path) > 0;
}

std::string folderPath(const std::string& path) {
  if (path.empty()) throw PlatformError(path, noFolder());
  refuseWildcards(path);
  quietDrives();
  const std::wstring full = absolute(wide(path));
  const std::size_t root = rootLength(full);
  if (root == 0) throw PlatformError(path, notAFolder());
  const auto [dropped, why] = windows::pathProblem(utf8(full));
  if (!dropped.empty()) throw PlatformError(dropped, why);
  // Each name as it is on disk, found one folder after another from the root down.
  std::wstring resolved = full.substr(0, root);
  DWORD attributes = GetFileAttributesW(extended(resolved).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw systemError(path, GetLastError());
  bool unlisted = false;
  for (std::size_t i = root; i < full.size();) {
    const std::size_t end = std::min(full.find(L'\\', i), full.size());
    if (resolved.back() != L'\\') resolved += L'\\';
    const std::wstring name = full.substr(i, end - i);
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(extended(resolved + name).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_NO_MORE_FILES) throw PlatformError(utf8(resolved + name), danglingLink());
      // A folder that may be passed through but not listed, as on many shares, does not tell how
      // a name in it is spelled: the name is taken as typed when it is there, and spelled as on
      // disk once the whole path is known.
      const DWORD there = error == ERROR_ACCESS_DENIED
                              ? GetFileAttributesW(extended(resolved + name).c_str())
                              : INVALID_FILE_ATTRIBUTES;
      if (there == INVALID_FILE_ATTRIBUTES) throw systemError(path, error);
      resolved += name;
      attributes = there;
      unlisted = true;
      i = end + 1;
      continue;
    }
    FindClose(find);
    if (!windows::isValidUtf16(std::wstring_view(data.cFileName))) {
      throw PlatformError(utf8(resolved + full.substr(i, end - i)),
                          tr("This folder's name is not text Windows can show, so the program "
                             "cannot tell it from another folder. Rename it in Explorer."));
    }
    resolved += data.cFileName;
    attributes = data.dwFileAttributes;
    i = end + 1;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw PlatformError(path, notAFolder());
  if (unlisted) resolved = spelledOnDisk(resolved);
  const std::wstring place = extended(resolved);
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    BY_HANDLE_FILE_INFORMATION info;
    if (const DWORD error = openTarget(place, &info)) {
      if (isNothingThere(error)) throw PlatformError(path, danglingLink());
      throw systemError(path, error);
    }
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      throw PlatformError(path, notAFolder());
    }
  }
  const DWORD error =
      faults::failed(faults::Call::Open, path) ? GetLastError() : listingError(place);
  if (error == 0) return utf8(resolved);
  // Windows keeps old folder names such as "My Documents" as links that may be followed but not
  // listed; the folder they lead to is the one to show.
  if (error == ERROR_ACCESS_DENIED && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const std::wstring target = finalPath(place);
    if (!target.empty() && listingError(extended(target)) == 0) return utf8(target);
  }
  throw systemError(path, error);
}

bool sameFolder(const std::string& a, const std::string& b) {
  return !a.empty() && !b.empty() && !faults::failed(faults::Call::Identify, a) &&
         windows::sameFolder(apiPath(a), apiPath(b));
}

std::vector<std::string> ancestors(const std::string& folder) {
  return windows::ancestors(folder);
}

std::vector<std::string> subfolders(const std::string& folder) {
  refuseWildcards(folder);
  std::wstring pattern = apiPath(folder);
  if (pattern.back() != L'\\') pattern += L'\\';
  const std::size_t folderLength = pattern.size();
  pattern += L'*';
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return {};  // an empty drive
    throw systemError(folder, error);
  }
  // A share that goes away while it is read fails after some entries.
  const bool breaks = faults::failed(faults::Call::List, folder);
  const DWORD broken = GetLastError();
  std::vector<std::wstring> names;
  do {
    const DWORD attributes = data.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    // A name that is not whole UTF-16 would show as another folder's, and could not be typed.
    if (!windows::isValidUtf16(std::wstring_view(name))) continue;
    // A link shows when what it leads to is a folder that is there, as on POSIX systems.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        IsReparseTagNameSurrogate(data.dwReserved0) &&
        !leadsToFolder(pattern.substr(0, folderLength) + name)) {
      continue;
    }
    names.emplace_back(name);
  } while (!breaks && FindNextFileW(find, &data));
  const DWORD error = breaks ? broken : GetLastError();
  FindClose(find);
  if (error != ERROR_NO_MORE_FILES) throw systemError(folder, error);
  std::sort(names.begin(), names.end(), lessWide);
  std::vector<std::string> out;
  out.reserve(names.size());
  for (const std::wstring& name : names)
    out.push_back(utf8(name));
  return out;
}

}  // namespace qb::files

namespace qb::windows {

namespace {

bool isHeld(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Runs attempt until it succeeds, fails for another reason than a file being held, or the time
// (ms) is up; the last error, or 0.
template <typename Attempt>
DWORD whileHeld(ULONGLONG time, Attempt attempt) {
  const ULONGLONG start = GetTickCount64();
  for (DWORD pause = 5;; pause = std::min<DWORD>(pause * 2, 50)) {
    if (attempt()) return 0;
    const DWORD error = GetLastError();
    const ULONGLONG spent = GetTickCount64() - start;
    if (!isHeld(error) || spent >= time) return error;
    Sleep(static_cast<DWORD>(std::min<ULONGLONG>(pause, time - spent)));
  }
}

}  // namespace

unsigned long removeFile(const std::string& path) {
  const std::wstring file = apiPath(path);
  return whileHeld(1000, [&] {
    return !faults::failed(faults::Call::Remove, path) && DeleteFileW(file.c_str());
  });
}

std::wstring apiPath(const std::string& path) {
  quietDrives();
  return extended(absolute(wide(path)));
}

void quietDrives() {
  [[maybe_unused]] static const bool quiet = [] {
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return true;
  }();
}

std::wstring absolute(const std::wstring& path) {
  if (rootLength(path) > 0) return plain(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);
  }
  // A device such as "\\.\CON" is no place in the file system; Windows reports on it as given.
  return windows::isDevicePath(full) ? path : plain(full);
}

}  // namespace qb::windows
