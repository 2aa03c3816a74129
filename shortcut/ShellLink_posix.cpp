// On POSIX systems a shortcut is a symbolic link: file managers, file dialogs and shells all
// follow it to the folder it names.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "shortcut/ShellLink.h"

namespace qb {

void createShellLink(const std::string& folder, const std::string& name, const std::string& target,
                     const std::string& arguments, std::int32_t /*showCommand*/,
                     const std::string& /*reserved*/) {
  std::string link =
      !folder.empty() && folder.back() == files::kSeparator ? folder + name : folder + "/" + name;
  if (!files::isAbsolute(folder)) {
    throw PlatformError(link,
                        "The shortcut's folder must be a full path, one that starts from "
                        "the root.");
  }
  if (!arguments.empty()) {
    throw PlatformError(link, "A shortcut here cannot pass arguments to what it opens.");
  }
  if (name.empty() || name == "." || name == ".." || files::hasControlCharacter(name) ||
      name.find('/') != std::string::npos) {
    throw PlatformError(link,
                        "A shortcut's name may not be \".\" or \"..\", nor hold a \"/\", a line "
                        "break or another control character.");
  }
  if (files::entryAt(target) != files::Entry::Folder) {
    throw PlatformError(target,
                        "The project folder is not there any more, so no shortcut to it "
                        "was made.");
  }
  // The folder as it is on disk, letter case included; this throws when it is not a folder.
  const std::string place = files::folderPath(folder);
  link = place == "/" ? place + name : place + "/" + name;
  // Windows sees a name in another letter case as the same name, and so does this program.
  const std::string existing = files::lookup(link);
  if (!existing.empty()) {
    throw PlatformError(link, "Something called \"" + existing +
                                  "\" is there already. It was left as it is, and no shortcut "
                                  "was made.");
  }
  if (symlink(target.c_str(), link.c_str()) != 0) {
    const int error = errno;
    if (error == EEXIST) {
      throw PlatformError(link,
                          "Something of that name is there already. It was left as it "
                          "is, and no shortcut was made.");
    }
    throw PlatformError(link, std::string(std::strerror(error)) + ".");
  }
  struct stat st;
  if (lstat(link.c_str(), &st) != 0) {
    throw PlatformError(link, "The shortcut could not be found after it was made.");
  }
}

}  // namespace qb
