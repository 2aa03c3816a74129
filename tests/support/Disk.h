#pragma once

// Real folders for the tests: a fresh temporary folder, what it holds, and ways to make a
// folder nobody may write in.

#include <string>
#include <vector>

namespace qb::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of name inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Every entry under root, as paths relative to it, sorted; folders end in '/', links in '@'.
std::vector<std::string> tree(const std::string& root);

void writeFile(const std::string& path, const std::string& content = "keep me");
std::string readFile(const std::string& path);
bool isFolder(const std::string& path);

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

// A folder in which making anything fails, for root too: a read-only file system mounted over
// it when the tests run as root, its write permission taken away otherwise.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& path);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // False when this machine allows neither way; the caller skips then.
  bool ready() const { return ready_; }

 private:
  std::string path_;
  bool mounted_ = false;
  bool ready_ = false;
};

}  // namespace qb::test
