#include "platform/windows/text.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/windows/com.h"
#include "platform/windows/library.h"
#include "platform/windows/names.h"

namespace qb::windows {

namespace {

// The folders controlled folder access guards whatever it is told: the user's and the public
// documents, pictures, videos and music, the favourites, and the desktop, where the shell keeps
// them now. Asked only once access has been denied.
std::vector<std::string> guardedFolders() {
  const auto get =
      systemFunction<decltype(&SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
  const Com* com = windows::com();
  std::vector<std::string> folders;
  if (!get || !com) return folders;
  for (const KNOWNFOLDERID* id :
       {&FOLDERID_Desktop, &FOLDERID_Documents, &FOLDERID_Pictures, &FOLDERID_Videos,
        &FOLDERID_Music, &FOLDERID_Favorites, &FOLDERID_PublicDocuments, &FOLDERID_PublicPictures,
        &FOLDERID_PublicVideos, &FOLDERID_PublicMusic}) {
    PWSTR found = nullptr;
    if (SUCCEEDED(get(*id, 0, nullptr, &found)) && found) folders.push_back(utf8(found));
    com->free(found);
  }
  return folders;
}

}  // namespace

std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), length);
  return out;
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

PlatformError systemError(const std::string& path, unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string reason = length > 0 && buffer ? utf8(std::wstring(buffer, length)) : "";
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
  const bool denied =
      code == ERROR_ACCESS_DENIED || code == static_cast<unsigned long>(E_ACCESSDENIED);
  if (denied && !path.empty() && liesWithin(path, guardedFolders())) {
    reason += std::string("\n\n") + kGuardedFolderNote;
  }
  return PlatformError(path, reason);
}

}  // namespace qb::windows
