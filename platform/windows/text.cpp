#include "platform/windows/text.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/catalogue.h"
#include "platform/windows/names.h"

namespace qb::windows {

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

PlatformError systemError(const std::string& path, unsigned long code, bool writing) {
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
    reason = tr("Windows reported error {1}.", {hex.data()});
  }
  if (reason.back() != '.') reason += '.';
  const bool denied =
      code == ERROR_ACCESS_DENIED || code == static_cast<unsigned long>(E_ACCESSDENIED);
  if (denied && writing && !path.empty()) {
    reason += "\n\n" + guardedFolderNote();
  }
  return PlatformError(path, reason);
}

}  // namespace qb::windows
