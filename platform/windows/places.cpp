// Where things are on Windows: the environment's variables, the program's own folder, the user's
// folders as the shell keeps them, the working folder, and the drives.

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/files.h"
#include "platform/windows/com.h"
#include "platform/windows/files.h"
#include "platform/windows/library.h"
#include "platform/windows/paths.h"
#include "platform/windows/text.h"

namespace qb::files {

using windows::absolute;
using windows::plain;
using windows::quietDrives;
using windows::rootLength;
using windows::splitLast;
using windows::systemError;
using windows::utf8;
using windows::wide;

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
