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

#include "platform/files.h"
#include "platform/files_win.h"

namespace qb::files {

const char kSeparator = '\\';
const char kSeparators[] = "\\/";

using win::apiPath;
using win::narrow;
using win::systemError;
using win::widen;

namespace {

// A drive that is not ready then fails with an error instead of asking the user in a dialog.
void quietDrives() {
  [[maybe_unused]] static const bool quiet = [] {
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return true;
  }();
}

template <typename Char>
bool isSeparator(Char c) {
  return c == Char('\\') || c == Char('/');
}

template <typename Char>
bool isLetter(Char c) {
  return (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z'));
}

template <typename Char>
Char upper(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

// The length of the root that starts path, its separator included when there is one: 3 for
// "C:\", up to the end of the share for "\\server\share"; 0 when path does not start at a root.
template <typename Char>
std::size_t rootLength(const std::basic_string<Char>& path) {
  const std::size_t n = path.size();
  if (n >= 3 && isLetter(path[0]) && path[1] == Char(':') && isSeparator(path[2])) return 3;
  if (n < 5 || !isSeparator(path[0]) || !isSeparator(path[1]) || isSeparator(path[2])) return 0;
  std::size_t i = 2;
  while (i < n && !isSeparator(path[i]))
    ++i;  // the server
  const std::size_t shareStart = i + 1;
  if (shareStart >= n || isSeparator(path[shareStart])) return 0;
  i = shareStart;
  while (i < n && !isSeparator(path[i]))
    ++i;  // the share
  return i < n ? i + 1 : i;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// An absolute path in its everyday form: the \\?\ prefix taken off, '/' made '\', the drive
// letter in capitals, doubled and trailing separators, "." and ".." worked out as Windows
// does. Any other path comes back as it is.
std::wstring plain(std::wstring path) {
  if (startsWith(path, L"\\\\?\\") && path.size() >= 8 && upper(path[4]) == L'U' &&
      upper(path[5]) == L'N' && upper(path[6]) == L'C' && isSeparator(path[7])) {
    path = L"\\\\" + path.substr(8);
  } else if ((startsWith(path, L"\\\\?\\") || startsWith(path, L"\\\\.\\")) &&
             rootLength(path.substr(4)) == 3) {
    path = path.substr(4);
  }
  const std::size_t root = rootLength(path);
  if (root == 0) return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  std::wstring out = path.substr(0, root);
  if (root == 3) out[0] = upper(out[0]);
  if (out.back() != L'\\') out += L'\\';
  const std::size_t base = out.size();
  for (std::size_t i = root; i < path.size();) {
    const std::size_t end = std::min(path.find(L'\\', i), path.size());
    const std::wstring_view name(path.data() + i, end - i);
    if (name == L"..") {
      out.resize(std::max(out.rfind(L'\\'), base));
    } else if (!name.empty() && name != L".") {
      if (out.size() > base) out += L'\\';
      out += name;
    }
    i = end + 1;
  }
  return out;
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
  return startsWith(full, L"\\\\.\\") ? path : plain(full);
}

// An everyday absolute path in the \\?\ form.
std::wstring extended(const std::wstring& path) {
  if (startsWith(path, L"\\\\?\\") || startsWith(path, L"\\\\.\\")) return path;
  const std::size_t root = rootLength(path);
  if (root == 3) return L"\\\\?\\" + path;
  if (root > 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

// The errors that mean nothing of that name is there.
bool isNothingThere(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY || error == ERROR_INVALID_DRIVE ||
         error == ERROR_BAD_PATHNAME;
}

constexpr char kForbidden[] = "<>:\"/\\|?*";

std::string forbiddenCharacter(char c) {
  return std::string("Windows refuses the character \"") + c +
         "\" in a name, as it does each of < > : \" / \\ | ? and *.";
}

// A find would read these as wildcards and report whatever matched them.
void refuseWildcards(const std::string& path) {
  const std::size_t start = path.compare(0, 4, "\\\\?\\") == 0 ? 4 : 0;
  const std::size_t at = path.find_first_of("*?<>\"", start);
  if (at != std::string::npos) throw PlatformError(path, forbiddenCharacter(path[at]));
}

// Splits path into its parent (trailing separators dropped, a root kept whole) and its last
// name; trailing separators of path itself are ignored.
std::pair<std::string, std::string> splitLast(const std::string& path) {
  const std::size_t root = rootLength(path);
  std::string p = path;
  while (p.size() > root && isSeparator(p.back()))
    p.pop_back();
  const std::size_t separator = p.find_last_of("\\/");
  if (separator == std::string::npos || separator < root) {
    return {p.substr(0, root), p.substr(root)};
  }
  std::size_t parentLength = separator;
  while (parentLength > root && isSeparator(p[parentLength - 1]))
    --parentLength;
  return {p.substr(0, parentLength), p.substr(separator + 1)};
}

std::string joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return isSeparator(folder.back()) ? folder + name : folder + kSeparator + name;
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

constexpr char kDanglingLink[] = "This is a link whose target is missing, not a folder.";

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

bool lessWide(const std::wstring& a, const std::wstring& b) {
  const int order = CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                         static_cast<int>(b.size()), TRUE);
  return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
}

}  // namespace

namespace win {

std::wstring widen(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), length);
  return out;
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

std::wstring apiPath(const std::string& path) {
  quietDrives();
  return extended(absolute(widen(path)));
}

std::string nameProblem(const std::string& name) {
  if (hasControlCharacter(name)) {
    return "Names may not hold line breaks or other control characters.";
  }
  const std::size_t at = name.find_first_of(kForbidden);
  if (at != std::string::npos) return forbiddenCharacter(name[at]);
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
    return "Windows refuses a name that ends in a dot or a space.";
  }
  // Windows reads these as devices whatever extension follows them.
  std::string device = name.substr(0, name.find('.'));
  while (!device.empty() && device.back() == ' ')
    device.pop_back();
  std::string key = device;
  std::transform(key.begin(), key.end(), key.begin(), [](char c) { return upper(c); });
  static const std::array<const char*, 30> kDevices{
      "CON",  "PRN",  "AUX",  "NUL",         "CONIN$",      "CONOUT$",
      "COM1", "COM2", "COM3", "COM4",        "COM5",        "COM6",
      "COM7", "COM8", "COM9", "COM\xC2\xB9", "COM\xC2\xB2", "COM\xC2\xB3",
      "LPT1", "LPT2", "LPT3", "LPT4",        "LPT5",        "LPT6",
      "LPT7", "LPT8", "LPT9", "LPT\xC2\xB9", "LPT\xC2\xB2", "LPT\xC2\xB3"};
  for (const char* reserved : kDevices) {
    if (key == reserved) {
      return "Windows keeps the name \"" + device +
             "\" for a device, so nothing may be called that, with or without an extension.";
    }
  }
  return {};
}

PlatformError systemError(const std::string& path, unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string reason = length > 0 && buffer ? narrow(std::wstring(buffer, length)) : "";
  LocalFree(buffer);
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!reason.empty() && blank(reason.back()))
    reason.pop_back();
  reason.erase(reason.begin(), std::find_if_not(reason.begin(), reason.end(), blank));
  if (reason.empty()) {
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%08lX", code);
    reason = std::string("Windows reported error ") + hex.data();
  }
  if (reason.back() != '.') reason += '.';
  return PlatformError(path, reason);
}

const Com* com() {
  static const Com loaded = [] {
    Com functions;
    if (const HMODULE ole = LoadLibraryW(L"ole32.dll")) {
      const auto find = [ole](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(ole, name));
      };
      functions.initialize =
          reinterpret_cast<decltype(functions.initialize)>(find("CoInitializeEx"));
      functions.uninitialize =
          reinterpret_cast<decltype(functions.uninitialize)>(find("CoUninitialize"));
      functions.create = reinterpret_cast<decltype(functions.create)>(find("CoCreateInstance"));
    }
    return functions;
  }();
  return loaded.initialize && loaded.uninitialize && loaded.create ? &loaded : nullptr;
}

}  // namespace win

std::string lookup(const std::string& path) {
  if (path.empty()) return {};
  refuseWildcards(path);
  quietDrives();
  const std::wstring full = absolute(widen(path));
  const std::size_t root = rootLength(full);
  if (root > 0 && root == full.size()) {
    if (GetFileAttributesW(extended(full).c_str()) != INVALID_FILE_ATTRIBUTES) return narrow(full);
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
  return narrow(data.cFileName);
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

void expectFolderOrNothing(const std::string& path) {
  if (entryAt(path) != Entry::Other) return;
  auto [parent, name] = splitLast(path);
  const std::string found = lookup(path);
  const std::string shown = found.empty() || found == name ? path : joined(parent, found);
  throw PlatformError(
      shown, std::string(isDanglingLink(apiPath(path)) ? kDanglingLink : "This is not a folder.") +
                 " It was left as it is, and nothing was made.");
}

void makeFolder(const std::string& path) {
  if (hasControlCharacter(path)) {
    throw PlatformError(path, "Folder names may not hold line breaks or other control characters.");
  }
  if (path.empty()) throw PlatformError(path, "No folder name was given.");
  // Checked before anything is looked up, so that the reason names what is wrong.
  const std::string problem = win::nameProblem(splitLast(path).second);
  if (!problem.empty()) throw PlatformError(path, problem);
  if (!lookup(path).empty()) throw systemError(path, ERROR_ALREADY_EXISTS);
  if (!CreateDirectoryW(apiPath(path).c_str(), nullptr)) throw systemError(path, GetLastError());
}

std::string environment(const std::string& name) {
  const std::wstring key = widen(name);
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD length =
        GetEnvironmentVariableW(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) {
      value.resize(length);
      return narrow(value);
    }
    value.resize(length);  // the length asked for counts the closing null
  }
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
  return splitLast(narrow(plain(file))).first;
}

std::string userFolder(UserFolder /*which*/) {
  return {};
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
    return folderPath(narrow(folder));
  } catch (const PlatformError&) {
    const std::vector<std::string> roots = drives();
    return roots.empty() ? "C:\\" : roots.front();
  }
}

bool isAbsolute(const std::string& path) {
  return rootLength(path) > 0;
}

std::string folderPath(const std::string& path) {
  if (path.empty()) throw PlatformError(path, "No folder was given.");
  refuseWildcards(path);
  quietDrives();
  const std::wstring full = absolute(widen(path));
  const std::size_t root = rootLength(full);
  if (root == 0) throw PlatformError(path, "This is not a folder.");
  // Each name as it is on disk, found one folder after another from the root down.
  std::wstring resolved = full.substr(0, root);
  DWORD attributes = GetFileAttributesW(extended(resolved).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw systemError(path, GetLastError());
  for (std::size_t i = root; i < full.size();) {
    const std::size_t end = std::min(full.find(L'\\', i), full.size());
    if (resolved.back() != L'\\') resolved += L'\\';
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(extended(resolved + full.substr(i, end - i)).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_NO_MORE_FILES) {
        throw PlatformError(narrow(resolved + full.substr(i, end - i)), kDanglingLink);
      }
      throw systemError(path, error);
    }
    FindClose(find);
    resolved += data.cFileName;
    attributes = data.dwFileAttributes;
    i = end + 1;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw PlatformError(path, "This is not a folder.");
  const std::wstring place = extended(resolved);
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    BY_HANDLE_FILE_INFORMATION info;
    if (const DWORD error = openTarget(place, &info)) {
      if (isNothingThere(error)) throw PlatformError(path, kDanglingLink);
      throw systemError(path, error);
    }
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      throw PlatformError(path, "This is not a folder.");
    }
  }
  const DWORD error = listingError(place);
  if (error == 0) return narrow(resolved);
  // Windows keeps old folder names such as "My Documents" as links that may be followed but not
  // listed; the folder they lead to is the one to show.
  if (error == ERROR_ACCESS_DENIED && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const std::wstring target = finalPath(place);
    if (!target.empty() && listingError(extended(target)) == 0) return narrow(target);
  }
  throw systemError(path, error);
}

bool sameFolder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  BY_HANDLE_FILE_INFORMATION first, second;
  return openTarget(apiPath(a), &first) == 0 && openTarget(apiPath(b), &second) == 0 &&
         (first.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

std::vector<std::string> ancestors(const std::string& folder) {
  const std::size_t root = rootLength(folder);
  if (root == 0) return {folder};
  std::string path = folder.substr(0, root);
  if (!isSeparator(path.back())) path += kSeparator;
  std::vector<std::string> paths{path};
  for (std::size_t i = root; i < folder.size();) {
    const std::size_t end = std::min(folder.find_first_of("\\/", i), folder.size());
    if (end > i) {
      if (!isSeparator(path.back())) path += kSeparator;
      path.append(folder, i, end - i);
      paths.push_back(path);
    }
    i = end + 1;
  }
  return paths;
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
    out.push_back(narrow(name));
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
    roots.push_back(narrow(plain(buffer.substr(i, end - i))));
    i = end + 1;
  }
  return roots;
}

std::string driveOf(const std::string& path) {
  const std::wstring full = absolute(widen(path));
  std::wstring root = full.substr(0, rootLength(full));
  if (!root.empty() && root.back() != L'\\') root += L'\\';
  return narrow(root);
}

}  // namespace qb::files
