#include "tests/support/Disk.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/files.h"
#ifdef _WIN32
#include "platform/files_win.h"
#endif

#ifdef _WIN32
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qb::test {

namespace {

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

#ifdef _WIN32
using files::win::widen;
#endif

void setVariable(const std::string& name, const char* value) {
#ifdef _WIN32
  SetEnvironmentVariableW(widen(name).c_str(), value ? widen(value).c_str() : nullptr);
#else
  value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
#endif
}

}  // namespace

fs::path u8(const std::string& path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}

TempFolder::TempFolder() {
  std::random_device random;
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate = base / ("quenbrook-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) path_ = utf8(candidate);
  }
  if (path_.empty()) throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  removeAll(path_);
}

std::string TempFolder::operator/(const std::string& name) const {
  std::string native = name;
  std::replace(native.begin(), native.end(), '/', files::kSeparator);
  return path_ + files::kSeparator + native;
}

std::vector<std::string> tree(const std::string& root) {
  std::vector<std::string> entries;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(u8(root), error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const std::u8string relative = fs::relative(it->path(), u8(root)).generic_u8string();
    std::string name(relative.begin(), relative.end());
    entries.push_back(name + (it->is_symlink() ? "@" : it->is_directory() ? "/" : ""));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

void makeFolders(const std::string& path) {
  fs::create_directories(u8(path));
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(u8(path), std::ios::binary) << content;
}

std::string readFile(const std::string& path) {
  std::ifstream in(u8(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void makeHiddenFolder(const std::string& path) {
  fs::create_directory(u8(path));
#ifdef _WIN32
  SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
}

bool isFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(u8(path), error);
}

void removeAll(const std::string& path) {
  std::error_code error;
  fs::remove_all(u8(path), error);
}

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(u8(a), u8(b), error);
}

bool makeFolderLink(const std::string& target, const std::string& link) {
  std::error_code error;
  fs::create_directory_symlink(u8(target), u8(link), error);
  return !error && fs::is_symlink(u8(link), error);
}

std::string shortcutFile(const std::string& name) {
#ifdef _WIN32
  return name + ".lnk";
#else
  return name;
#endif
}

std::string shortcutTarget(const std::string& folder, const std::string& name) {
  const std::string file = folder + files::kSeparator + shortcutFile(name);
#ifdef _WIN32
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string target;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      wchar_t path[32768] = {};
      if (SUCCEEDED(persist->Load(widen(file).c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(path, 32768, nullptr, SLGP_RAWPATH))) {
        target = utf8(fs::path(path));
      }
      persist->Release();
    }
    link->Release();
  }
  return target;
#else
  std::error_code error;
  if (!fs::is_symlink(u8(file), error)) return {};
  return utf8(fs::read_symlink(u8(file), error));
#endif
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value)
    : name_(name), old_(files::environment(name)) {
#ifdef _WIN32
  wasSet_ = GetEnvironmentVariableW(widen(name).c_str(), nullptr, 0) > 0;
#else
  wasSet_ = std::getenv(name) != nullptr;
#endif
  setVariable(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  setVariable(name_, wasSet_ ? old_.c_str() : nullptr);
}

#ifdef _WIN32
// Windows grants folder rights by access lists, which wine does not enforce; the tests that
// need a read-only folder run on Linux.
ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : path_(path) {}
ReadOnlyFolder::~ReadOnlyFolder() = default;
#else
ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : path_(path) {
  mounted_ =
      geteuid() == 0 && mount("quenbrook-test", path.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
  ready_ = mounted_ || (geteuid() != 0 && chmod(path.c_str(), 0555) == 0);
}

ReadOnlyFolder::~ReadOnlyFolder() {
  mounted_ ? umount2(path_.c_str(), MNT_DETACH) : chmod(path_.c_str(), 0755);
}
#endif

}  // namespace qb::test
