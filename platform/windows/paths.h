#pragma once

// How Windows reads a path, as pure functions of the text: where its root ends (a drive
// letter's or a share's), its everyday form ("." and ".." worked out, '/' made a backslash),
// and the extended form that lifts MAX_PATH and takes each name literally. Nothing here asks the
// system, so the rules are tested on every platform.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb::windows {

template <typename Char>
bool isSeparator(Char c) {
  return c == Char('\\') || c == Char('/');
}

template <typename Char>
Char upperAscii(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

// The length of the root that starts path, its separator included when there is one: 3 for
// "C:\", up to the end of the share for "\\server\share"; 0 when path does not start at a root.
template <typename Char>
std::size_t rootLength(std::basic_string_view<Char> path) {
  const auto letter = [](Char c) {
    return (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z'));
  };
  const std::size_t n = path.size();
  if (n >= 3 && letter(path[0]) && path[1] == Char(':') && isSeparator(path[2])) return 3;
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

inline std::size_t rootLength(const std::string& path) {
  return rootLength(std::string_view(path));
}
inline std::size_t rootLength(const std::wstring& path) {
  return rootLength(std::wstring_view(path));
}

// An absolute path in its everyday form: the \\?\ prefix taken off, '/' made '\', the drive
// letter in capitals, doubled and trailing separators dropped, "." and ".." worked out as
// Windows does. Any other path comes back as it is.
std::wstring plain(std::wstring path);

// An everyday absolute path in the \\?\ form; a device path or any other stays as it is.
std::wstring extended(const std::wstring& path);

// Whether path starts with the prefix of a device ("\\.\") or of the \\?\ form.
bool isDevicePath(const std::wstring& path);

// path split into its parent (trailing separators dropped, a root kept whole) and its last name;
// trailing separators of path itself are ignored.
std::pair<std::string, std::string> splitLast(const std::string& path);

// The folders from the root down to folder itself, each as a full path.
std::vector<std::string> ancestors(const std::string& folder);

}  // namespace qb::windows
