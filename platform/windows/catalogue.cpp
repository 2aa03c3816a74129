// The catalogues built into the program, one .mo resource a language (type "MO", named by the
// language: "DE", "PT_BR"), chosen by the thread's, the user's and the system's preferred UI
// languages, in that order.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/catalogue_os.h"
#include "platform/windows/text.h"

namespace qb::catalogue {

namespace {

std::unordered_map<std::string, std::string> texts;

// The user's languages, the most preferred first, as "de-DE".
std::vector<std::wstring> preferred() {
  constexpr DWORD kFlags = MUI_LANGUAGE_NAME | MUI_MERGE_USER_FALLBACK | MUI_MERGE_SYSTEM_FALLBACK;
  ULONG count = 0, size = 0;
  std::vector<std::wstring> languages;
  if (!GetThreadPreferredUILanguages(kFlags, &count, nullptr, &size)) return languages;
  std::wstring list(size, L'\0');
  if (!GetThreadPreferredUILanguages(kFlags, &count, list.data(), &size)) return languages;
  for (std::size_t at = 0; at < list.size() && list[at];) {
    const std::size_t end = list.find(L'\0', at);
    languages.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return languages;
}

// A .mo file's texts (GNU gettext's binary catalogue: a header, then the tables of the originals
// and of their translations, each entry a length and an offset); false when it is none.
bool read(const unsigned char* data, std::size_t size) {
  const auto word = [&](std::size_t at) {
    std::uint32_t value = 0;
    if (at + 4 <= size) std::memcpy(&value, data + at, 4);
    return value;
  };
  if (word(0) != 0x950412de) return false;
  const std::uint32_t count = word(8), originals = word(12), translations = word(16);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t from = originals + 8 * i, to = translations + 8 * i;
    if (word(from + 4) + word(from) > size || word(to + 4) + word(to) > size) return false;
    texts[std::string(reinterpret_cast<const char*>(data) + word(from + 4), word(from))] =
        std::string(reinterpret_cast<const char*>(data) + word(to + 4), word(to));
  }
  return true;
}

bool load(const std::wstring& name) {
  const HRSRC found = FindResourceW(nullptr, name.c_str(), L"MO");
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  return data && read(static_cast<const unsigned char*>(data), SizeofResource(nullptr, found));
}

}  // namespace

// Windows' own pseudo-locale as the first language, or, for a developer on any Windows,
// gettext's LANGUAGE naming it, as on Linux.
bool asksForPseudo() {
  const std::vector<std::wstring> languages = preferred();
  wchar_t named[16] = L"";
  const DWORD length = GetEnvironmentVariableW(L"LANGUAGE", named, 16);
  return (length < 16 && std::wstring(named, length).starts_with(L"qps")) ||
         (!languages.empty() && languages.front().starts_with(L"qps"));
}

std::string open() {
  texts.clear();
  for (std::wstring language : preferred()) {
    for (wchar_t& c : language)
      if (c == L'-') c = L'_';
    const std::wstring primary = language.substr(0, language.find(L'_'));
    // English is the program's own: a later language does not come before it.
    if (primary == L"en") return "en";
    for (const std::wstring& name : {language, primary})
      if (load(name)) return windows::utf8(name);
  }
  return "en";
}

std::string translation(std::string_view english) {
  const auto found = texts.find(std::string(english));
  return found == texts.end() || found->second.empty() ? std::string(english) : found->second;
}

}  // namespace qb::catalogue
