#pragma once

// Real folders for the tests: a fresh temporary folder, what it holds, links and shortcuts, and
// ways to make a folder nobody may write in. Paths are UTF-8 text, as everywhere in the program.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qb::test {

// The path for std::filesystem, read as UTF-8 on every platform.
std::filesystem::path u8(const std::string& path);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of name inside the folder; '/' in name stands for the platform's separator.
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// Every entry under root, as paths relative to it with '/' between names, sorted; folders end
// in '/', symbolic links in '@'.
std::vector<std::string> tree(const std::string& root);

void makeFolders(const std::string& path);
// A plain file, or a hidden folder as the platform marks them.
void writeFile(const std::string& path, const std::string& content = "keep me");
std::string readFile(const std::string& path);
void makeHiddenFolder(const std::string& path);
void removeAll(const std::string& path);
bool sameFolder(const std::string& a, const std::string& b);

// A symbolic link to a folder, or a dangling one; false where this system cannot make one.
bool makeFolderLink(const std::string& target, const std::string& link);
// A link whose target is missing, or two that lead to each other. Wine makes no symbolic links of
// its own: there the host's ln makes them, which wine shows as Windows would not.
bool makeDanglingLink(const std::string& link);
bool makeLinkLoop(const std::string& link);

// The file a shortcut of that name is: the name itself on POSIX systems, name.lnk on Windows.
std::string shortcutFile(const std::string& name);
// Where the shortcut called name in folder leads, or empty text when there is none; read without
// the program's own link layer.
std::string shortcutTarget(const std::string& folder, const std::string& name);

// A Windows shell link file as [MS-SHLLINK] lays it out, read byte by byte: the header's flags,
// the path its LinkInfo names (as UTF-8), and the signature of each extra data block.
struct LinkFile {
  bool read = false;
  unsigned flags = 0;
  std::string target;
  std::vector<unsigned> blocks;
};
LinkFile readLinkFile(const std::string& path);

// Sets (or, given nullptr, unsets) an environment variable for as long as it lives.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::string old_;
  bool wasSet_;
};

// A drive other than the one the temporary folders are on, as a user would pick it: on Linux a
// small disk mounted for as long as this lives, where the tests run as root.
class OtherDrive {
 public:
  OtherDrive();
  ~OtherDrive();
  OtherDrive(const OtherDrive&) = delete;
  OtherDrive& operator=(const OtherDrive&) = delete;

  // The drive's root, or empty text where there is none.
  const std::string& root() const { return root_; }

 private:
  std::string root_;
  bool mounted_ = false;
};

// The user's language for the program started from here on, as the system sets it: gettext's
// LANGUAGE on Linux; on Windows the pseudo-language the same way, and a real one only as the
// user's UI language of the whole run (which wine takes from LANG when it starts), so that a
// story in another language is skipped there.
class ScopedLanguage {
 public:
  explicit ScopedLanguage(const std::string& language);
  bool ready() const { return ready_; }

 private:
  ScopedEnvironment variable_;
  bool ready_ = true;
};

// A catalogue's texts as translators wrote them in po/<language>.po, by their English text.
std::map<std::string, std::string> catalogue(const std::string& language);

// Where the system keeps the user's desktop and documents folders, for as long as it lives: the
// user shell folders in Windows' registry, the desktop's user-dirs.dirs elsewhere.
class ScopedUserFolders {
 public:
  ScopedUserFolders(const std::string& desktop, const std::string& documents);
  ~ScopedUserFolders();
  ScopedUserFolders(const ScopedUserFolders&) = delete;
  ScopedUserFolders& operator=(const ScopedUserFolders&) = delete;

 private:
#ifdef _WIN32
  std::vector<std::pair<std::wstring, std::wstring>> was_;  // each value, or empty when unset
#else
  TempFolder config_;
  ScopedEnvironment variable_{"XDG_CONFIG_HOME", config_.path().c_str()};
#endif
};

}  // namespace qb::test
