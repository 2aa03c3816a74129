#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <utility>

#include "platform/faults.h"
#include "platform/files.h"
#include "platform/files_os.h"
#include "platform/posix/text.h"

namespace qb::files {

const char kSeparator = '/';
const char kSeparators[] = "/";

namespace {

PlatformError systemError(const std::string& path, int error) {
  std::string reason = std::strerror(error);
  return PlatformError(path, reason + ".");
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of folder whose name matches name ignoring case, or empty text.
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
  DirHandle dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return {};
  const std::string wanted = posix::fold(name);
  while (dirent* entry = readdir(dir.get())) {
    if (posix::fold(entry->d_name) == wanted) return entry->d_name;
  }
  return {};
}

// Splits path into its parent (with any trailing separators removed, the root kept) and its
// last name; trailing separators of path itself are ignored.
std::pair<std::string, std::string> splitLast(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/')
    p.pop_back();
  const auto slash = p.rfind('/');
  if (slash == std::string::npos) return {"", p};
  std::size_t parentLength = slash;
  while (parentLength > 1 && p[parentLength - 1] == '/')
    --parentLength;
  return {p.substr(0, std::max<std::size_t>(parentLength, 1)), p.substr(slash + 1)};
}

// path with each name that does not exist as written replaced by the one that matches it
// ignoring case, as far as such names are found.
std::string resolveCase(const std::string& path) {
  if (path.empty() || exists(path)) return path;
  auto [parent, name] = splitLast(path);
  if (name.empty()) return path;
  std::string resolvedParent = parent.empty() ? parent : resolveCase(parent);
  if (name == "." || name == "..") return parent.empty() ? path : resolvedParent + "/" + name;
  std::string match = findIgnoringCase(resolvedParent, name);
  if (match.empty()) match = name;
  if (resolvedParent.empty()) return match;
  return resolvedParent == "/" ? "/" + match : resolvedParent + "/" + match;
}

std::string cleaned(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  while (out.size() > 1 && out.back() == '/')
    out.pop_back();
  return out;
}

// An absolute path with its "." and ".." worked out as the system does: ".." right after a link
// leads to the parent of the folder the link leads to, not back to the link's own parent.
std::string withoutDots(const std::string& path) {
  std::string out = "/";
  for (std::size_t i = 1; i < path.size();) {
    const std::size_t end = std::min(path.find('/', i), path.size());
    const std::string name = path.substr(i, end - i);
    i = end + 1;
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      struct stat st;
      if (stat(out.c_str(), &st) != 0) throw systemError(path, errno);
      if (!S_ISDIR(st.st_mode)) throw systemError(path, ENOTDIR);
      if (lstat(out.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> real(realpath(out.c_str(), nullptr),
                                                         &std::free);
        if (!real) throw systemError(path, errno);
        out = real.get();
      }
      out = splitLast(out).first;
      continue;
    }
    out += out == "/" ? name : "/" + name;
  }
  return out;
}

}  // namespace

std::string lookup(const std::string& path) {
  if (path.empty()) return {};
  struct stat st;
  if (!faults::failed(faults::Call::Look, path) && lstat(path.c_str(), &st) == 0) {
    const std::string name = splitLast(path).second;
    return name.empty() ? path : name;
  }
  const int error = errno;
  if (error == ENOTDIR) return {};  // the path runs through a file: nothing is there
  if (error != ENOENT) throw systemError(path, error);
  auto [parent, name] = splitLast(path);
  if (name.empty()) return {};
  return findIgnoringCase(parent.empty() ? parent : resolveCase(parent), name);
}

Entry entryAt(const std::string& path) {
  if (path.empty()) return Entry::None;
  const std::string resolved = resolveCase(path);
  struct stat st;
  if (faults::failed(faults::Call::Look, path)) throw systemError(path, errno);
  if (stat(resolved.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? Entry::Folder : Entry::Other;
  const int error = errno;
  if (lstat(resolved.c_str(), &st) == 0) return Entry::Other;  // a dangling link
  if (error == ENOENT || error == ENOTDIR) return Entry::None;
  throw systemError(path, error);
}

namespace os {

std::pair<std::string, std::string> splitLast(const std::string& path) {
  return files::splitLast(path);
}

std::string nameProblem(const std::string& name) {
  // A POSIX name may hold anything but '/' and NUL, up to NAME_MAX bytes.
  if (name.size() > 255) return tr("This name is too long for a folder here.");
  return {};
}

std::string brokenLink(const std::string& path) {
  const std::string resolved = resolveCase(path);
  struct stat st;
  if (lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
  if (stat(resolved.c_str(), &st) == 0) return {};
  return errno == ELOOP ? linkLoop() : danglingLink();
}

PlatformError alreadyThere(const std::string& path) {
  return systemError(path, EEXIST);
}

void createFolder(const std::string& path) {
  const auto [parent, name] = files::splitLast(path);
  const std::string target =
      parent.empty() ? name : (parent == "/" ? "/" : resolveCase(parent) + "/") + name;
  if (faults::failed(faults::Call::Make, path) || mkdir(target.c_str(), 0777) != 0) {
    throw systemError(path, errno);
  }
}

}  // namespace os

std::string environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

std::string homeFolder() {
  return environment("HOME");
}

std::string applicationFolder() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) throw systemError("/proc/self/exe", errno);
  buffer.resize(static_cast<std::size_t>(length));
  return splitLast(buffer).first;
}

namespace {

// The value of one entry of the user-dirs file (XDG_DESKTOP_DIR="$HOME/Desktop"), with $HOME
// put in; empty text when the entry is not there.
std::string userDirsEntry(const std::string& key, const std::string& home) {
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty()) config = home + "/.config";
  std::ifstream file(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, key.size() + 2, key + "=\"") != 0 || line.back() != '"') continue;
    std::string value = line.substr(key.size() + 2, line.size() - key.size() - 3);
    // $HOME counts as a name of its own: "$HOMEx/foo" is no folder in the home folder.
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/')) {
      value = home + value.substr(5);
    }
    if (isAbsolute(value)) return value;
  }
  return {};
}

}  // namespace

std::string userFolder(UserFolder which) {
  const std::string home = environment("HOME");
  if (home.empty()) return {};
  const bool desktop = which == UserFolder::Desktop;
  std::string folder = userDirsEntry(desktop ? "XDG_DESKTOP_DIR" : "XDG_DOCUMENTS_DIR", home);
  return folder.empty() ? home + (desktop ? "/Desktop" : "/Documents") : folder;
}

std::string workingFolder() {
  try {
    return folderPath(".");
  } catch (const PlatformError&) {
    return "/";
  }
}

bool isAbsolute(const std::string& path) {
  return !path.empty() && path.front() == '/';
}

std::string folderPath(const std::string& path) {
  if (path.empty()) throw PlatformError(path, noFolder());
  std::string full = path;
  if (!isAbsolute(full)) {
    std::string cwd(PATH_MAX, '\0');
    if (!getcwd(cwd.data(), cwd.size())) throw systemError(path, errno);
    full = std::string(cwd.c_str()) + "/" + path;
  }
  full = withoutDots(cleaned(resolveCase(cleaned(full))));
  struct stat st;
  if (stat(full.c_str(), &st) != 0) {
    const int error = errno;
    if (lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
      throw PlatformError(path, error == ELOOP ? linkLoop() : danglingLink());
    }
    throw systemError(path, error);
  }
  if (!S_ISDIR(st.st_mode)) throw PlatformError(path, notAFolder());
  // Such a name would reach the path box changed, and a folder of the changed name would be
  // made in its place.
  if (!posix::isUtf8(full)) {
    throw PlatformError(path, tr("The name of this folder, or of one above it, is not UTF-8 "
                                 "text, so the program cannot show it unchanged and does not "
                                 "open it. Rename the folder, or choose another."));
  }
  if (faults::failed(faults::Call::Open, path) || !DirHandle(opendir(full.c_str()))) {
    throw systemError(path, errno);
  }
  return full;
}

bool sameFolder(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return !faults::failed(faults::Call::Identify, a) && stat(a.c_str(), &sa) == 0 &&
         stat(b.c_str(), &sb) == 0 && S_ISDIR(sa.st_mode) && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::vector<std::string> ancestors(const std::string& folder) {
  std::vector<std::string> paths{"/"};
  for (std::size_t slash = folder.find('/', 1); !folder.empty();
       slash = folder.find('/', slash + 1)) {
    const std::string path = folder.substr(0, slash);
    if (path.size() > 1 && path != paths.back()) paths.push_back(path);
    if (slash == std::string::npos) break;
  }
  return paths;
}

std::vector<std::string> subfolders(const std::string& folder) {
  DirHandle dir(opendir(folder.c_str()));
  if (!dir) throw systemError(folder, errno);
  const int fd = dirfd(dir.get());
  std::vector<std::pair<std::string, std::string>> keyed;  // folded name, name
  // A share that goes away while it is read fails after some entries.
  const bool breaks = faults::failed(faults::Call::List, folder);
  const int broken = errno;
  // readdir tells an error from the end of the folder only by errno.
  errno = 0;
  while (dirent* entry = readdir(dir.get())) {
    if (entry->d_name[0] == '.') continue;  // ".", ".." and hidden folders
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isFolder = fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    if (isFolder) keyed.emplace_back(posix::fold(entry->d_name), entry->d_name);
    errno = breaks ? broken : 0;
    if (breaks) break;
  }
  if (errno != 0) throw systemError(folder, errno);
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::string> names;
  names.reserve(keyed.size());
  for (auto& entry : keyed)
    names.push_back(std::move(entry.second));
  return names;
}

namespace {

// Mount points in /proc/self/mounts write spaces and the like as octal escapes.
std::string unescapeMount(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() + 0 && std::isdigit(field[i + 1])) {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::vector<std::string> drives() {
  std::vector<std::string> roots{"/"};
  std::ifstream mounts("/proc/self/mounts");
  std::string device, point, type, rest;
  while (mounts >> device >> point >> type && std::getline(mounts, rest)) {
    point = unescapeMount(point);
    const bool userPlace = startsWith(point, "/media/") || startsWith(point, "/mnt/") ||
                           startsWith(point, "/run/media/") || point == "/home" ||
                           point == "/mnt" || point == "/media";
    const bool volume = startsWith(device, "/dev/") || type == "nfs" || type == "nfs4" ||
                        type == "cifs" || type == "smb3" || startsWith(type, "fuse.");
    if (userPlace && volume && std::find(roots.begin(), roots.end(), point) == roots.end()) {
      roots.push_back(point);
    }
  }
  std::sort(roots.begin() + 1, roots.end());
  return roots;
}

std::string driveOf(const std::string& path) {
  std::string best = "/";
  for (const std::string& root : drives()) {
    if (root.size() > best.size() && startsWith(path, root) &&
        (path.size() == root.size() || path[root.size()] == '/')) {
      best = root;
    }
  }
  return best;
}

}  // namespace qb::files
