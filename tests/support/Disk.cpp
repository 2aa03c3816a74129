#include "tests/support/Disk.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace qb::test {

namespace {

std::string utf8(const std::u8string& text) {
  return std::string(text.begin(), text.end());
}

// For the questions whose failure is itself the answer.
thread_local std::error_code ignored;

#ifdef _WIN32
// Runs one of the Linux system's own commands under wine, with arguments, in folder: wine makes
// no symbolic links, and cannot remove the dangling ones it lists as nothing.
bool runOnHost(const wchar_t* program, const std::wstring& arguments, const std::string& folder) {
  std::wstring command = std::wstring(program) + L" " + arguments;
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  const std::wstring path = std::wstring(L"Z:\\bin\\") + program;
  if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      u8(folder).wstring().c_str(), &start, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// A symbolic link at path made by the host's ln, to target, a name in the same folder.
bool hostLink(const std::string& path, const std::string& target) {
  const std::size_t cut = path.rfind('\\');
  const std::wstring name = u8(path.substr(cut + 1)).wstring();
  return runOnHost(L"ln", L"-s \"" + u8(target).wstring() + L"\" \"" + name + L"\"",
                   path.substr(0, cut));
}
#endif

void setVariable(const std::string& name, const char* value) {
#ifdef _WIN32
  SetEnvironmentVariableW(u8(name).c_str(), value ? u8(value).c_str() : nullptr);
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
  fs::path made;
  do {
    made = fs::temp_directory_path() / ("quenbrook-test-" + std::to_string(random()));
  } while (!fs::create_directory(made));
  path_ = utf8(made.u8string());
}

TempFolder::~TempFolder() {
  removeAll(path_);
#ifdef _WIN32
  if (fs::exists(u8(path_), ignored)) {
    const std::size_t cut = path_.rfind('\\');
    runOnHost(L"rm", L"-rf \"" + u8(path_.substr(cut + 1)).wstring() + L"\"", path_.substr(0, cut));
  }
#endif
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
    const std::string name = utf8(it->path().lexically_relative(u8(root)).generic_u8string());
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
  std::ostringstream text;
  text << std::ifstream(u8(path), std::ios::binary).rdbuf();
  return text.str();
}

void makeHiddenFolder(const std::string& path) {
  fs::create_directory(u8(path));
#ifdef _WIN32
  SetFileAttributesW(u8(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
}

void removeAll(const std::string& path) {
  fs::remove_all(u8(path), ignored);
}

bool sameFolder(const std::string& a, const std::string& b) {
  return fs::equivalent(u8(a), u8(b), ignored);
}

bool makeFolderLink(const std::string& target, const std::string& link) {
  fs::create_directory_symlink(u8(target), u8(link), ignored);
  return fs::is_symlink(u8(link), ignored);
}

bool makeDanglingLink(const std::string& link) {
#ifdef _WIN32
  const std::string name = link.substr(link.rfind('\\') + 1);
  return makeFolderLink(link + "-gone", link) || hostLink(link, name + "-gone");
#else
  return makeFolderLink(link + "-gone", link);
#endif
}

bool makeLinkLoop(const std::string& link) {
#ifdef _WIN32
  const std::string name = link.substr(link.rfind('\\') + 1);
  return hostLink(link, name + "-back") && hostLink(link + "-back", name);
#else
  const std::string other = link + "-back";
  return symlink(other.c_str(), link.c_str()) == 0 && symlink(link.c_str(), other.c_str()) == 0;
#endif
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
  return readLinkFile(file).target;
#else
  return utf8(fs::read_symlink(u8(file), ignored).u8string());
#endif
}

LinkFile readLinkFile(const std::string& path) {
  const std::string data = readFile(path);
  const auto number = [&data](std::size_t at, std::size_t size) {
    unsigned value = 0;
    for (std::size_t i = size; i-- > 0;)
      value = value << 8 | (at + i < data.size() ? static_cast<unsigned char>(data[at + i]) : 0u);
    return value;
  };
  LinkFile link;
  if (data.size() < 0x4C || number(0, 4) != 0x4C) return link;
  link.read = true;
  link.flags = number(0x14, 4);
  std::size_t at = 0x4C;
  if (link.flags & 0x01) at += 2 + number(at, 2);  // HasLinkTargetIDList
  if (link.flags & 0x02) {                         // HasLinkInfo
    const bool wide = number(at + 4, 4) >= 0x24;   // the Unicode offsets are there
    const auto text = [&](std::size_t narrowOffset, std::size_t wideOffset) {
      std::string out;
      if (wide && number(at + wideOffset, 4)) {
        std::u16string units;
        for (std::size_t i = at + number(at + wideOffset, 4); number(i, 2); i += 2)
          units += static_cast<char16_t>(number(i, 2));
        return utf8(fs::path(units).u8string());
      }
      for (std::size_t i = at + number(at + narrowOffset, 4); i < data.size() && data[i]; ++i)
        out += data[i];
#ifdef _WIN32
      return utf8(fs::path(out).u8string());  // in the system's code page
#else
      return out;
#endif
    };
    if (number(at + 8, 4) & 0x01) link.target = text(16, 28) + text(24, 32);
    at += number(at, 4);
  }
  // The strings: name, relative path, working folder, arguments, icon; counted in characters.
  for (const unsigned flag : {0x04u, 0x08u, 0x10u, 0x20u, 0x40u})
    if (link.flags & flag) at += 2 + number(at, 2) * (link.flags & 0x80 ? 2 : 1);
  for (unsigned size; (size = number(at, 4)) >= 8; at += size)
    link.blocks.push_back(number(at + 4, 4));
  return link;
}

OtherDrive::OtherDrive() {
  const std::string here = files::driveOf(files::folderPath(fs::temp_directory_path().string()));
#ifdef _WIN32
  for (const std::string& root : files::drives())
    if (root != here && root_.empty()) root_ = root;
#else
  // Named as a disk is, under /mnt, so that it is listed as one.
  const std::string point = "/mnt/quenbrook-test-" + std::to_string(getpid());
  mounted_ = geteuid() == 0 && fs::create_directories(point, ignored) &&
             mount("/dev/quenbrook-test", point.c_str(), "tmpfs", 0, "size=64k") == 0;
  if (mounted_) root_ = point;
#endif
}

OtherDrive::~OtherDrive() {
#ifndef _WIN32
  if (mounted_) umount2(root_.c_str(), MNT_DETACH);
  if (mounted_) fs::remove(root_, ignored);
#endif
}

ScopedLanguage::ScopedLanguage(const std::string& language)
    : variable_("LANGUAGE", language.c_str()) {
#ifdef _WIN32
  wchar_t user[64] = L"";
  ULONG count = 0, size = 64;
  GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, user, &size);
  ready_ = language.starts_with("qps") ||
           u8(language.substr(0, 2)).wstring() == std::wstring(user).substr(0, 2);
#endif
}

std::map<std::string, std::string> catalogue(const std::string& language) {
  std::map<std::string, std::string> texts;
  std::istringstream lines(readFile(QUENBROOK_SOURCE_DIR "/po/" + language + ".po"));
  std::string id, text, line, *reading = nullptr;
  const auto unquote = [](const std::string& quoted) {
    std::string out;
    for (std::size_t i = quoted.find('"') + 1; i + 1 < quoted.size(); ++i) {
      if (quoted[i] != '\\')
        out += quoted[i];
      else if (quoted[++i] == 'n')
        out += '\n';
      else
        out += quoted[i];
    }
    return out;
  };
  while (std::getline(lines, line)) {
    if (line.starts_with("msgid ")) {
      if (!id.empty()) texts[id] = text;
      id.clear(), text.clear(), reading = &id;
    } else if (line.starts_with("msgstr ")) {
      reading = &text;
    } else if (!line.starts_with("\"")) {
      continue;
    }
    if (reading) *reading += unquote(line);
  }
  if (!id.empty()) texts[id] = text;
  return texts;
}

// An empty variable is restored as unset, which the program reads alike.
ScopedEnvironment::ScopedEnvironment(const char* name, const char* value)
    : name_(name), old_(files::environment(name)), wasSet_(!old_.empty()) {
  setVariable(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  setVariable(name_, wasSet_ ? old_.c_str() : nullptr);
}

#ifdef _WIN32
namespace {
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}  // namespace

ScopedUserFolders::ScopedUserFolders(const std::string& desktop, const std::string& documents) {
  for (const auto& [name, path] :
       {std::pair{L"Desktop", desktop}, std::pair{L"Personal", documents}}) {
    wchar_t value[1024] = L"";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, value,
                 &size);
    was_.emplace_back(name, value);
    const std::wstring kept = u8(path).wstring();
    RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, name, REG_EXPAND_SZ, kept.c_str(),
                    static_cast<DWORD>((kept.size() + 1) * sizeof(wchar_t)));
  }
}

ScopedUserFolders::~ScopedUserFolders() {
  for (const auto& [name, value] : was_) {
    if (value.empty()) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kShellFolders, name.c_str());
    } else {
      RegSetKeyValueW(HKEY_CURRENT_USER, kShellFolders, name.c_str(), REG_EXPAND_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
  }
}

#else
ScopedUserFolders::ScopedUserFolders(const std::string& desktop, const std::string& documents) {
  writeFile(config_ / "user-dirs.dirs",
            "XDG_DESKTOP_DIR=\"" + desktop + "\"\nXDG_DOCUMENTS_DIR=\"" + documents + "\"\n");
}

ScopedUserFolders::~ScopedUserFolders() = default;
#endif

}  // namespace qb::test
