// Windows, through the wide functions only: UTF-8 text becomes UTF-16 at each call and back.
// Absolute paths reach Windows in the \\?\ form, which has no MAX_PATH limit and takes each
// name literally, so a folder called "CON" or "name." is never mistaken for something else.

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/files_os.h"
#include "platform/windows/com.h"
#include "platform/windows/files.h"
#include "platform/windows/library.h"
#include "platform/windows/names.h"
#include "platform/windows/paths.h"
#include "platform/windows/text.h"

namespace qb::files {

const char kSeparator = '\\';
const char kSeparators[] = "\\/";

using windows::apiPath;
using windows::extended;
using windows::isSeparator;
using windows::plain;
using windows::rootLength;
using windows::splitLast;
using windows::systemError;
using windows::utf8;
using windows::wide;

namespace {

// A drive that is not ready then fails with an error instead of asking the user in a dialog.
void quietDrives() {
  [[maybe_unused]] static const bool quiet = [] {
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return true;
  }();
}

// path made absolute against the working folder, in its everyday form.
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

// The errors that mean nothing of that name is there.
constexpr char kUnreadableName[] =
    "This folder's name is not text Windows can show, so the program cannot tell it from "
    "another folder. Rename it in Explorer.";

bool isNothingThere(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY || error == ERROR_INVALID_DRIVE ||
         error == ERROR_BAD_PATHNAME;
}

// A find would read these as wildcards and report whatever matched them.
void refuseWildcards(const std::string& path) {
  const std::size_t start = path.compare(0, 4, "\\\\?\\") == 0 ? 4 : 0;
  const std::size_t at = path.find_first_of("*?<>\"", start);
  if (at != std::string::npos) throw PlatformError(path, windows::forbiddenCharacter(path[at]));
}

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() { CloseHandle(handle); }
};

// Opens what path leads to, following links; the error when that fails, otherwise 0.
DWORD openTarget(const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError();
  const HandleCloser closer{handle};
  return GetFileInformationByHandle(handle, info) ? 0 : GetLastError();
}

// Whether a link at path (in the \\?\ form) leads to a folder that is there.
bool leadsToFolder(const std::wstring& path) {
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD error = openTarget(path, &info);
  if (error != 0) return !isNothingThere(error);  // there, though it may not be opened
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether path (in the \\?\ form) is a link whose target is missing. Windows lists such a link
// with attributes of its own and cannot open it; wine lists nothing, and finding it by its exact
// name reports no more files instead of no such file.
bool isDanglingLink(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(find);
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD error = openTarget(path, &info);
  return error != 0 && isNothingThere(error);
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

// Where the link at path (in the \\?\ form) finally leads, in the everyday form; empty text when
// that cannot be told.
std::wstring finalPath(const std::wstring& path) {
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  const HandleCloser closer{handle};
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(handle, target.data(), static_cast<DWORD>(target.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < target.size()) {
      target.resize(length);
      return plain(target);
    }
    target.resize(length);
  }
}

// path (absolute, in the everyday form) with its names spelled as the file system spells them,
// read from where it leads without listing any folder on the way. Only the trailing names that
// are the same but for letter case are taken, so that the path keeps its own drive letter or
// share and any link on the way.
std::wstring spelledOnDisk(const std::wstring& path) {
  const std::wstring target = finalPath(extended(path));
  const std::size_t root = rootLength(path), targetRoot = rootLength(target);
  if (target.empty() || targetRoot == 0) return path;
  std::size_t mine = path.size(), theirs = target.size();
  while (mine > root && theirs > targetRoot) {
    const std::size_t myStart = path.rfind(L'\\', mine - 1) + 1;
    const std::size_t theirStart = target.rfind(L'\\', theirs - 1) + 1;
    if (myStart < root || theirStart < targetRoot ||
        CompareStringOrdinal(path.data() + myStart, static_cast<int>(mine - myStart),
                             target.data() + theirStart, static_cast<int>(theirs - theirStart),
                             TRUE) != CSTR_EQUAL) {
      break;
    }
    mine = myStart > 0 ? myStart - 1 : 0;
    theirs = theirStart > 0 ? theirStart - 1 : 0;
  }
  // Both now end where the names that match begin, at a separator or at the root.
  const std::size_t mineCut = mine < root ? root : mine;
  std::size_t theirCut = theirs < targetRoot ? targetRoot : theirs;
  if (mineCut == root && theirCut < target.size() && target[theirCut] == L'\\') ++theirCut;
  return path.substr(0, mineCut) + target.substr(theirCut);
}

// Which folder path (in the \\?\ form) leads to, following links. The 128-bit id where the file
// system gives one: the 64-bit index is not unique on ReFS, and 0 on some shares, and an id of 0
// names nothing.
struct FolderId {
  bool known = false;
  bool wide = false;  // the 128-bit id, not the 64-bit index
  ULONGLONG volume = 0;
  unsigned char id[16] = {};
};

FolderId folderId(const std::wstring& path) {
  FolderId out;
  const HANDLE handle = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return out;
  const HandleCloser closer{handle};
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return out;
  }
  FILE_ID_INFO wideId{};
  if (GetFileInformationByHandleEx(handle, FileIdInfo, &wideId, sizeof wideId)) {
    out.wide = true;
    out.volume = wideId.VolumeSerialNumber;
    static_assert(sizeof out.id == sizeof wideId.FileId.Identifier);
    std::memcpy(out.id, wideId.FileId.Identifier, sizeof out.id);
  } else {
    // Before Windows 8, and file systems that do not answer it: the 64-bit index.
    out.volume = info.dwVolumeSerialNumber;
    const ULONGLONG index = (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    std::memcpy(out.id, &index, sizeof index);
  }
  static const unsigned char kNone[16] = {};
  out.known = std::memcmp(out.id, kNone, sizeof kNone) != 0;
  return out;
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
  const HANDLE find = FindFirstFileW(extended(full).c_str(), &data);
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
  const DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (isNothingThere(error)) return isDanglingLink(full) ? Entry::Other : Entry::None;
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
  return files::isDanglingLink(apiPath(path)) ? kDanglingLink : "";
}

PlatformError alreadyThere(const std::string& path) {
  return systemError(path, ERROR_ALREADY_EXISTS);
}

void createFolder(const std::string& path) {
  const auto [dropped, why] = windows::pathProblem(path);
  if (!dropped.empty()) throw PlatformError(dropped, why);
  if (!CreateDirectoryW(apiPath(path).c_str(), nullptr)) throw systemError(path, GetLastError());
}

}  // namespace os

std::string environment(const std::string& name) {
  const std::wstring key = wide(name);
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) {
      value.resize(length);
      return utf8(value);
    }
    value.resize(length);  // the length asked for counts the closing null
  }
}

std::string homeFolder() {
  return environment("USERPROFILE");
}

std::string applicationFolder() {
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
    if (length == 0) throw systemError("", GetLastError());
    if (length < file.size()) {
      file.resize(length);
      break;
    }
    file.resize(file.size() * 2);  // cut short: try again with more room
  }
  return splitLast(utf8(plain(file))).first;
}

std::string userFolder(UserFolder which) {
  // Asked only when a button is clicked.
  static const auto get = windows::systemFunction<decltype(&SHGetKnownFolderPath)>(
      L"shell32.dll", "SHGetKnownFolderPath");
  const windows::Com* com = windows::com();
  if (!get || !com) return {};
  PWSTR found = nullptr;
  const HRESULT result =
      get(which == UserFolder::Desktop ? FOLDERID_Desktop : FOLDERID_Documents, 0, nullptr, &found);
  std::string folder = SUCCEEDED(result) && found ? utf8(found) : std::string();
  com->free(found);
  return folder;
}

std::string workingFolder() {
  try {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
      if (length == 0) throw systemError("", GetLastError());
      if (length < folder.size()) {
        folder.resize(length);
        break;
      }
      folder.resize(length);
    }
    return folderPath(utf8(folder));
  } catch (const PlatformError&) {
    const std::vector<std::string> roots = drives();
    return roots.empty() ? "C:\\" : roots.front();
  }
}

bool isAbsolute(const std::string& path) {
  return rootLength(path) > 0;
}

std::string folderPath(const std::string& path) {
  if (path.empty()) throw PlatformError(path, kNoFolder);
  refuseWildcards(path);
  quietDrives();
  const std::wstring full = absolute(wide(path));
  const std::size_t root = rootLength(full);
  if (root == 0) throw PlatformError(path, kNotAFolder);
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
      if (error == ERROR_NO_MORE_FILES) throw PlatformError(utf8(resolved + name), kDanglingLink);
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
      throw PlatformError(utf8(resolved + full.substr(i, end - i)), kUnreadableName);
    }
    resolved += data.cFileName;
    attributes = data.dwFileAttributes;
    i = end + 1;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw PlatformError(path, kNotAFolder);
  if (unlisted) resolved = spelledOnDisk(resolved);
  const std::wstring place = extended(resolved);
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    BY_HANDLE_FILE_INFORMATION info;
    if (const DWORD error = openTarget(place, &info)) {
      if (isNothingThere(error)) throw PlatformError(path, kDanglingLink);
      throw systemError(path, error);
    }
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      throw PlatformError(path, kNotAFolder);
    }
  }
  const DWORD error = listingError(place);
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
  if (a.empty() || b.empty()) return false;
  const FolderId first = folderId(apiPath(a)), second = folderId(apiPath(b));
  return first.known && second.known && first.wide == second.wide &&
         first.volume == second.volume && std::memcmp(first.id, second.id, sizeof first.id) == 0;
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
  } while (FindNextFileW(find, &data));
  const DWORD error = GetLastError();
  FindClose(find);
  if (error != ERROR_NO_MORE_FILES) throw systemError(folder, error);
  std::sort(names.begin(), names.end(), lessWide);
  std::vector<std::string> out;
  out.reserve(names.size());
  for (const std::wstring& name : names)
    out.push_back(utf8(name));
  return out;
}

std::vector<std::string> drives() {
  quietDrives();
  std::wstring buffer(GetLogicalDriveStringsW(0, nullptr), L'\0');
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length >= buffer.size()) return {};
  std::vector<std::string> roots;
  for (std::size_t i = 0; i < length;) {
    const std::size_t end = buffer.find(L'\0', i);
    if (end == i || end == std::wstring::npos) break;
    roots.push_back(utf8(plain(buffer.substr(i, end - i))));
    i = end + 1;
  }
  return roots;
}

std::string driveOf(const std::string& path) {
  const std::wstring full = absolute(wide(path));
  std::wstring root = full.substr(0, rootLength(full));
  if (!root.empty() && root.back() != L'\\') root += L'\\';
  return utf8(root);
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
  return whileHeld(1000, [&] { return DeleteFileW(file.c_str()); });
}

std::wstring apiPath(const std::string& path) {
  files::quietDrives();
  return extended(files::absolute(wide(path)));
}

}  // namespace qb::windows
