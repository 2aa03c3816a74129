#include "platform/windows/paths.h"

#include <algorithm>

namespace qb::windows {

namespace {

bool startsWith(const std::wstring& text, std::wstring_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool isDevicePath(const std::wstring& path) {
  return startsWith(path, L"\\\\?\\") || startsWith(path, L"\\\\.\\");
}

std::wstring plain(std::wstring path) {
  if (startsWith(path, L"\\\\?\\") && path.size() >= 8 && upperAscii(path[4]) == L'U' &&
      upperAscii(path[5]) == L'N' && upperAscii(path[6]) == L'C' && isSeparator(path[7])) {
    path = L"\\\\" + path.substr(8);
  } else if (isDevicePath(path) && rootLength(path.substr(4)) == 3) {
    path = path.substr(4);
  }
  const std::size_t root = rootLength(path);
  if (root == 0) return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  std::wstring out = path.substr(0, root);
  if (root == 3) out[0] = upperAscii(out[0]);
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

std::wstring extended(const std::wstring& path) {
  if (isDevicePath(path)) return path;
  const std::size_t root = rootLength(path);
  if (root == 3) return L"\\\\?\\" + path;
  if (root > 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

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

std::vector<std::string> ancestors(const std::string& folder) {
  const std::size_t root = rootLength(folder);
  if (root == 0) return {folder};
  std::string path = folder.substr(0, root);
  if (!isSeparator(path.back())) path += '\\';
  std::vector<std::string> paths{path};
  for (std::size_t i = root; i < folder.size();) {
    const std::size_t end = std::min(folder.find_first_of("\\/", i), folder.size());
    if (end > i) {
      if (!isSeparator(path.back())) path += '\\';
      path.append(folder, i, end - i);
      paths.push_back(path);
    }
    i = end + 1;
  }
  return paths;
}

}  // namespace qb::windows
